#pragma once

#include "ConfigDlg.h"
#include "MessageBox.h"
#include "PortMap.h"
#include "PtyPair.h"

#include <QByteArray>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

// The main window for real under the offscreen platform, driven by mouse and key events on its controls.
// Around it: a scratch folder holding the settings file, COM1 to COM8 mapped to a pseudo-terminal that takes
// the poll requests and never answers, message boxes recorded instead of shown, no real 100 ms waits, and
// the save dialog answered by SavePath(). A test writes settings first if it needs them, then OpenWindow().
class WindowFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Constructs the window (reading the settings file), builds and shows it, active.
    void OpenWindow();
    // Ends the window and builds a new one, as the next start of the program does.
    void Restart();

    // Points COMn at another device (the others stay on the pseudo-terminal).
    void MapPort(int nPort, const QString& strDevice);

    QString SettingsPath() const;
    void WriteSettings(const QByteArray& abContent) const;
    // The settings file's bytes; nothing when there is no file.
    std::optional<QByteArray> ReadSettings() const;

    QLineEdit* Edit(int nId) const;
    QPushButton* Button(int nId) const;
    QRadioButton* Radio(int nId) const;
    QComboBox* Combo(int nId) const;

    // Clicks into a box, selects its text and types strText over it, as a user does.
    void TypeInto(int nId, const QString& strText);
    void Click(int nId);
    // Opens the combo's list with the mouse and clicks item nIndex.
    void PickFromCombo(int nId, int nIndex);

    // Right-clicks the window's background, clear of every control; the system menu if it opened.
    class QMenu* OpenSystemMenu();

    // Double-clicks a cell of the point list as a user does; the cell editor that opened, if any.
    class CCellEdit* DoubleClickCell(int nRow, int nColumn);
    // The open cell editor, if any.
    class CCellEdit* OpenEditor() const;

    // The point list's rows as "number|reading|value".
    QStringList PointRows() const;

    // Message boxes so far.
    std::vector<MessageBoxRequest> m_aBoxes;
    QStringList BoxTexts() const;

    // What the save dialog answers next: a path, or nothing for cancel; and how often it was asked.
    std::optional<QString> m_strSavePath;
    int m_nSavePrompts = 0;

    // Every wait the serial link asked for, in milliseconds.
    std::vector<int> m_anSleeps;

    QTemporaryDir m_dir;
    std::unique_ptr<PtyPair> m_pPty;
    PortMap m_portMap;
    std::unique_ptr<CConfigDlg> m_pDlg;

private:
    MessageBoxSink m_previousSink;
};

// The same, with the window already open on a first start (no settings file).
class OpenWindowFixture : public WindowFixture {
protected:
    void SetUp() override;
};

// File contents print as text in failure messages.
inline void PrintTo(const QByteArray& ab, std::ostream* pOut)
{
    *pOut << '"' << ab.toStdString() << '"';
}

#ifdef VELMORA_TEST_EXE_NAME
// The executable's base name, the caption of every message box, as the test's build names it.
inline QString TestAppTitle()
{
    return QStringLiteral(VELMORA_TEST_EXE_NAME);
}
#endif
