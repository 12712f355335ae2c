#pragma once

#include <QString>

#include <functional>
#include <optional>

class QWidget;

// "Ask for a save path": the one place the program asks the user where to write a table file.
// Returns the chosen full path, or nothing when the user cancels (or no dialog could be shown).

using SavePathPrompt = std::function<std::optional<QString>(QWidget* pOwner)>;

// Installs a prompt (tests answer without a dialog) and returns the one it replaces; an empty prompt restores the
// default: a modal QFileDialog owned by pOwner, save mode, one filter "anl (*.anl)", default suffix "anl" added
// to a name typed without one, the file name box starting with "*.anl", no overwrite question.
SavePathPrompt SetSavePathPrompt(SavePathPrompt prompt);

std::optional<QString> AskSavePath(QWidget* pOwner);
