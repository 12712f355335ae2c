#include "DialogUnits.h"

#include <QFontDatabase>
#include <QFontMetrics>

#include <cstdint>
#include <cstdlib>

int MulDiv(int nA, int nB, int nC)
{
    if (nC == 0)
        return 0;
    const std::int64_t nProduct = static_cast<std::int64_t>(nA) * nB;
    const std::int64_t nHalf = std::llabs(nC) / 2;
    const bool bNegative = (nProduct < 0) != (nC < 0);
    const std::int64_t nQuotient = (std::llabs(nProduct) + nHalf) / std::llabs(nC);
    return static_cast<int>(bNegative ? -nQuotient : nQuotient);
}

QSize DialogBaseUnits(const QFont& font)
{
    const QFontMetrics metrics(font);
    const int nWidth = metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    // Average over 52 letters, rounded to the nearest pixel with integer steps, as GDI does it.
    return QSize((nWidth / 26 + 1) / 2, metrics.height());
}

QRect MapDialogRect(const DluRect& rect, QSize baseUnits)
{
    return QRect(MulDiv(rect.m_nX, baseUnits.width(), 4), MulDiv(rect.m_nY, baseUnits.height(), 8),
                 MulDiv(rect.m_nCx, baseUnits.width(), 4), MulDiv(rect.m_nCy, baseUnits.height(), 8));
}

QFont DialogFont(std::string_view strFace, int nPoints)
{
    const QString strWanted = QString::fromUtf8(strFace.data(), static_cast<qsizetype>(strFace.size()));
    QString strFamily;
    if (QFontDatabase::hasFamily(strWanted))
        strFamily = strWanted;
    else if (QFontDatabase::hasFamily(QStringLiteral("DejaVu Sans")))
        strFamily = QStringLiteral("DejaVu Sans");
    else
        strFamily = QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
    QFont font(strFamily, nPoints);
    font.setStyleHint(QFont::SansSerif);
    return font;
}
