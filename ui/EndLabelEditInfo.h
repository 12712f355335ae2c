#pragma once

#include <QString>

#include <optional>

class QWidget;

// What the cell editor hands to the point list when an edit ends, with the fields of the list view's
// end-of-label-edit notification. It lives on the editor's stack and is read only during the call.
struct EndLabelEditInfo
{
    static constexpr int kCodeEndLabelEdit = -106;  // LVN_ENDLABELEDIT
    static constexpr int kMaskText = 1;             // LVIF_TEXT

    QWidget* m_pSource = nullptr;  // the list, the editor's parent control
    int m_nIdFrom = 0;             // the editor's own control id
    int m_nCode = kCodeEndLabelEdit;
    int m_nMask = kMaskText;
    int m_nItem = -1;
    int m_nSubItem = -1;
    std::optional<QString> m_strText;  // none when the edit was cancelled with Escape
    int m_nTextMax = 0;                // length of the editor's text, set even when cancelled
};
