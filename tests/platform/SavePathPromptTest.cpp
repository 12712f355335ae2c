// The save-path prompt: the default is a real QFileDialog set up as the Generate command needs it; tests and the
// program can replace it.
#include "SavePathPrompt.h"
#include "TestSupport.h"

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <functional>

#include <gtest/gtest.h>

// Answers the next file dialog with script(dialog); records what the dialog looked like first.
struct FileDialogSeen {
    QFileDialog::AcceptMode m_mode = QFileDialog::AcceptOpen;
    QString m_strSuffix;
    QStringList m_astrFilters;
    bool m_bNoOverwriteQuestion = false;
    QString m_strNameBox;
    QWidget* m_pParent = nullptr;
};

static void AnswerNextFileDialog(FileDialogSeen& seen, const std::function<void(QFileDialog*)>& script)
{
    QTimer::singleShot(0, [&seen, script] {
        QFileDialog* pDialog = nullptr;
        WaitFor([&] { return (pDialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget())) != nullptr; });
        if (pDialog == nullptr)
            return;
        seen.m_mode = pDialog->acceptMode();
        seen.m_strSuffix = pDialog->defaultSuffix();
        seen.m_astrFilters = pDialog->nameFilters();
        seen.m_bNoOverwriteQuestion = pDialog->testOption(QFileDialog::DontConfirmOverwrite);
        if (auto* pName = pDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            seen.m_strNameBox = pName->text();
        seen.m_pParent = pDialog->parentWidget();
        script(pDialog);
    });
}

static void TypeNameAndAccept(QFileDialog* pDialog, const QString& strFolder, const QString& strName)
{
    pDialog->setDirectory(strFolder);
    auto* pName = pDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    ASSERT_NE(pName, nullptr);
    pName->clear();
    QTest::keyClicks(pName, strName);
    QTest::keyClick(pName, Qt::Key_Return);
}

TEST(SavePathPromptTest, DefaultDialogIsASaveDialogForAnlFiles)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    // The process runs in a folder that holds a folder "table" (as the source tree does), which once made the
    // dialog return the typed name without its suffix.
    QTemporaryDir workFolder;
    ASSERT_TRUE(workFolder.isValid());
    ASSERT_TRUE(QDir(workFolder.path()).mkdir(QStringLiteral("table")));
    const QString strOldCurrent = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(workFolder.path()));
    QWidget owner;
    owner.show();
    FileDialogSeen seen;
    AnswerNextFileDialog(seen, [&](QFileDialog* pDialog) { TypeNameAndAccept(pDialog, folder.path(), "table"); });

    const std::optional<QString> path = AskSavePath(&owner);
    QDir::setCurrent(strOldCurrent);

    EXPECT_EQ(seen.m_mode, QFileDialog::AcceptSave);
    EXPECT_EQ(seen.m_strSuffix, QStringLiteral("anl"));
    EXPECT_EQ(seen.m_astrFilters, QStringList{QStringLiteral("anl (*.anl)")});
    EXPECT_TRUE(seen.m_bNoOverwriteQuestion);
    EXPECT_EQ(seen.m_strNameBox, QStringLiteral("*.anl"));
    EXPECT_EQ(seen.m_pParent, &owner);
    // The suffix is added to a name typed without one.
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(*path, folder.filePath(QStringLiteral("table.anl")));
}

TEST(SavePathPromptTest, ExistingFileIsChosenWithoutAQuestion)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QFile existing(folder.filePath(QStringLiteral("old.anl")));
    ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
    existing.write("previous table");
    existing.close();
    FileDialogSeen seen;
    AnswerNextFileDialog(seen, [&](QFileDialog* pDialog) { TypeNameAndAccept(pDialog, folder.path(), "old.anl"); });
    // An overwrite question would be a second modal box; nothing answers it, so the prompt would not return
    // until the test's own timeout.
    const std::optional<QString> path = AskSavePath(nullptr);
    ASSERT_TRUE(path.has_value());
    EXPECT_EQ(*path, folder.filePath(QStringLiteral("old.anl")));
}

TEST(SavePathPromptTest, CancelGivesNothing)
{
    FileDialogSeen seen;
    AnswerNextFileDialog(seen, [](QFileDialog* pDialog) { pDialog->reject(); });
    EXPECT_FALSE(AskSavePath(nullptr).has_value());
}

TEST(SavePathPromptTest, ReplacementAnswersWithoutADialogAndCanBeRestored)
{
    QWidget* pSeenOwner = nullptr;
    QWidget owner;
    const SavePathPrompt previous = SetSavePathPrompt([&](QWidget* pOwner) -> std::optional<QString> {
        pSeenOwner = pOwner;
        return QStringLiteral("/tmp/chosen.anl");
    });
    EXPECT_EQ(AskSavePath(&owner), std::optional<QString>(QStringLiteral("/tmp/chosen.anl")));
    EXPECT_EQ(pSeenOwner, &owner);
    SetSavePathPrompt([](QWidget*) { return std::optional<QString>(); });
    EXPECT_FALSE(AskSavePath(&owner).has_value());
    SetSavePathPrompt(previous);
    EXPECT_FALSE(SetSavePathPrompt(nullptr)); // the default was back in place
}
