#pragma once

#include "DeviceLink.h"

#include <QString>

#include <set>
#include <vector>

// The link as the main window holds it, with everything it hands out recorded.
class WatchedLink
{
public:
    explicit WatchedLink(int nPollPeriodMs);

    // Waits until the last text shown is strText.
    bool WaitForText(const QString& strText);

    // Texts shown that are neither the start value nor one of the allowed readings.
    std::vector<QString> Strays(const std::set<int>& setAllowed) const;

    int m_nChannel = 0;
    CDeviceLink m_link{m_nChannel};
    std::vector<QString> m_vTexts;
    std::vector<QString> m_vLossMessages;
    std::vector<QString> m_vPollErrors;
    // Whether the frame kept at every text shown was the start value or a whole answer.
    bool m_bFramesWhole = true;
};
