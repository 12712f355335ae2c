#include "WatchedLink.h"

#include "EventWait.h"

WatchedLink::WatchedLink(int nPollPeriodMs)
{
    m_link.SetPollPeriodForTests(nPollPeriodMs);
    QObject::connect(&m_link, &CDeviceLink::ReadingTextChanged, [this](const QString& strText) {
        m_vTexts.push_back(strText);
        const QByteArray& abFrame = m_link.Frame();
        m_bFramesWhole = m_bFramesWhole && abFrame.size() == 150 &&
                         (abFrame == QByteArray(150, '\0') || abFrame.startsWith(QByteArray::fromHex("0476FD16")));
    });
    QObject::connect(&m_link, &CDeviceLink::LinkLost,
                     [this](const QString& strMessage) { m_vLossMessages.push_back(strMessage); });
    QObject::connect(&m_link, &CDeviceLink::PollFailed,
                     [this](const QString& strMessage) { m_vPollErrors.push_back(strMessage); });
}

bool WatchedLink::WaitForText(const QString& strText)
{
    return WaitFor([&] { return !m_vTexts.empty() && m_vTexts.back() == strText; });
}

std::vector<QString> WatchedLink::Strays(const std::set<int>& setAllowed) const
{
    std::vector<QString> vStrays;
    for (const QString& strText : m_vTexts)
        if (strText != QStringLiteral("0") && !setAllowed.count(strText.toInt()))
            vStrays.push_back(strText);
    return vStrays;
}
