#include "SavePathPrompt.h"

#include <QFileDialog>
#include <QFileInfo>

#include <utility>

static std::optional<QString> AskWithFileDialog(QWidget* pOwner)
{
    QFileDialog dialog(pOwner);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("anl (*.anl)"));
    dialog.setDefaultSuffix(QStringLiteral("anl"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    dialog.selectFile(QStringLiteral("*.anl"));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList astrFiles = dialog.selectedFiles();
    if (astrFiles.isEmpty() || astrFiles.first().isEmpty())
        return std::nullopt;
    QString strPath = astrFiles.first();
    // QFileDialog skips the default suffix when the typed name happens to be a folder in the process's current
    // directory; the name is meant in the dialog's folder, where it is a new file, so add the suffix here too.
    const QFileInfo info(strPath);
    if (!info.isDir() && !info.fileName().contains(QLatin1Char('.')))
        strPath += QStringLiteral(".anl");
    return strPath;
}

static SavePathPrompt& CurrentPrompt()
{
    static SavePathPrompt prompt;
    return prompt;
}

SavePathPrompt SetSavePathPrompt(SavePathPrompt prompt)
{
    return std::exchange(CurrentPrompt(), std::move(prompt));
}

std::optional<QString> AskSavePath(QWidget* pOwner)
{
    const SavePathPrompt prompt = CurrentPrompt();
    return prompt ? prompt(pOwner) : AskWithFileDialog(pOwner);
}
