// The resources as the windows meet them: templates whose controls the dialog layer can build and lay out,
// the combo boxes' items, the string and icon the main window loads, the version.
#include "Resources.h"
#include "Version.h"

#include <QString>

#include <set>
#include <string_view>
#include <vector>

#include <gtest/gtest.h>

static std::vector<int> Ids(const DialogTemplate& dlgTemplate)
{
    std::vector<int> anIds;
    for (const DialogControl& control : dlgTemplate.m_aControls)
        anIds.push_back(control.m_nId);
    return anIds;
}

class TemplateTest : public ::testing::TestWithParam<int> {};

TEST_P(TemplateTest, ControlsLieInsideTheClientAreaWithUniqueIds)
{
    const DialogTemplate* pTemplate = FindDialogTemplate(GetParam());
    ASSERT_NE(pTemplate, nullptr);
    EXPECT_EQ(pTemplate->m_strFontFace, "MS Sans Serif");
    EXPECT_EQ(pTemplate->m_nFontPoints, 8);
    std::set<int> seen;
    for (const DialogControl& control : pTemplate->m_aControls) {
        SCOPED_TRACE(control.m_nId);
        if (control.m_nId != IDC_STATIC) {
            EXPECT_TRUE(seen.insert(control.m_nId).second) << "duplicate id";
        }
        EXPECT_GE(control.m_rect.m_nX, 0);
        EXPECT_GE(control.m_rect.m_nY, 0);
        EXPECT_LE(control.m_rect.m_nX + control.m_rect.m_nCx, pTemplate->m_rect.m_nCx);
        // Combo heights include the dropped-down list, which may leave the window.
        if (control.m_kind != ControlKind::ComboBox) {
            EXPECT_LE(control.m_rect.m_nY + control.m_rect.m_nCy, pTemplate->m_rect.m_nCy);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Templates, TemplateTest, ::testing::Values(IDD_ABOUTBOX, IDD_VELMORA_DIALOG));

TEST(ResourcesTest, MainTemplateKeepsTheTabOrderOfItsControls)
{
    const DialogTemplate* pTemplate = FindDialogTemplate(IDD_VELMORA_DIALOG);
    ASSERT_NE(pTemplate, nullptr);
    EXPECT_EQ(pTemplate->m_strCaption, "Velmora Tool");
    EXPECT_EQ(pTemplate->m_rect.m_nCx, 287);
    EXPECT_EQ(pTemplate->m_rect.m_nCy, 247);
    EXPECT_EQ(pTemplate->m_nStyle & DialogMinimizeBox, DialogMinimizeBox);
    // Template order is tab order and radio-group order; labels are -1.
    const std::vector<int> anExpected = {1008, 1009, 1003, 1022, 1000, 1001, 1011, 1019, 1017, 1018,
                                         1014, 1015, 1004, 1005, 1007, 1002, 1,    1006, -1,   -1,
                                         1012, -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1,   -1};
    EXPECT_EQ(Ids(*pTemplate), anExpected);
}

TEST(ResourcesTest, ComboBoxesCarryTheirInitialisationItems)
{
    const DialogTemplate* pTemplate = FindDialogTemplate(IDD_VELMORA_DIALOG);
    ASSERT_NE(pTemplate, nullptr);
    std::vector<std::string_view> astrPorts;
    std::vector<std::string_view> astrChannels;
    for (const DialogControl& control : pTemplate->m_aControls) {
        if (control.m_nId == IDC_PORT)
            astrPorts.assign(control.m_astrItems.begin(), control.m_astrItems.end());
        if (control.m_nId == IDC_CHANNEL)
            astrChannels.assign(control.m_astrItems.begin(), control.m_astrItems.end());
    }
    EXPECT_EQ(astrPorts, (std::vector<std::string_view>{"    COM1", "    COM2", "    COM3", "    COM4", "    COM5",
                                                         "    COM6", "    COM7", "    COM8"}));
    EXPECT_EQ(astrChannels, (std::vector<std::string_view>{"Channel 1", "Channel 2", "Channel 3"}));
}

TEST(ResourcesTest, UnknownIdsFindNothing)
{
    EXPECT_EQ(FindDialogTemplate(101), nullptr);
    EXPECT_EQ(FindDialogTemplate(0), nullptr);
    EXPECT_TRUE(LoadResourceString(100).isEmpty());
    EXPECT_TRUE(LoadIconResource(129).isNull());
}

TEST(ResourcesTest, AboutStringAndVersion)
{
    EXPECT_EQ(LoadResourceString(IDS_ABOUTBOX), QStringLiteral("&About Velmora..."));
    EXPECT_STREQ(VELMORA_VERSION, "1.0.0.1");
    EXPECT_STREQ(VELMORA_VERSION_RECORD, "1, 0, 0, 1");
    const DialogTemplate* pAbout = FindDialogTemplate(IDD_ABOUTBOX);
    ASSERT_NE(pAbout, nullptr);
    EXPECT_EQ(pAbout->m_strCaption, "About Velmora");
    ASSERT_EQ(pAbout->m_aControls.size(), 3U);
    EXPECT_EQ(pAbout->m_aControls[1].m_strText, "Velmora Version 1.0");
    EXPECT_EQ(pAbout->m_aControls[2].m_strText, "OK");
    EXPECT_EQ(pAbout->m_aControls[2].m_nId, IDOK);
}

TEST(ResourcesTest, IconHasBothSizesFromTheLinkedResource)
{
    // Fails when the icon resource is not linked into the program that uses the library.
    const QIcon icon = LoadIconResource(IDR_MAINFRAME);
    ASSERT_FALSE(icon.isNull());
    const QList<QSize> aSizes = icon.availableSizes();
    EXPECT_TRUE(aSizes.contains(QSize(32, 32)));
    EXPECT_TRUE(aSizes.contains(QSize(16, 16)));
    EXPECT_EQ(icon.pixmap(QSize(32, 32)).size(), QSize(32, 32));
    EXPECT_EQ(icon.pixmap(QSize(16, 16)).size(), QSize(16, 16));
}
