#include "app/jump_app.h"

#include "app/editor_location.h"
#include "app/failure_box.h"
#include "app/file_locations.h"
#include "app/path_exists.h"
#include "app/settings.h"
#include "app/single_instance.h"
#include "controls/folder_picker.h"
#include "framework/ansi_text.h"
#include "framework/common_controls.h"
#include "jump/jump_dlg.h"

namespace {
// Converted when shown: the ANSI code page may be UTF-8 rather than Shift_JIS.
const wchar_t kEditorFolderPrompt[] = L"秀丸エディタの場所を指定してください。";

}  // namespace

CJumpApp::CJumpApp()
{
    const FilePath modulePath = ModulePath();
    m_strIniPath = SettingsPathFor(modulePath);
    m_strHistoryPath = HistoryPathFor(modulePath);
    m_strEditorPath = ReadEditorPath(m_strIniPath);
}

BOOL CJumpApp::InitInstance()
{
    if (IsAnotherInstanceRunning(kInstanceName)) {
        ActivateRunningInstance(kInstanceName);
        return FALSE;
    }
    // The common controls (the link label's tooltip among them) and their current look.
    InitCommonControlClasses(ICC_WIN95_CLASSES);

    if ((m_strEditorPath.empty() || !PathExists(m_strEditorPath, FALSE)) && !AskForEditorPath())
        return FALSE;

    CJumpDlg dlg;
    m_pMainWnd = &dlg;
    dlg.DoModal();
    m_pMainWnd = nullptr;
    return FALSE;
}

// Asks until the user chooses a folder whose path the settings file can hold,
// or cancels. An answer that cannot be stored is still used for this start.
bool CJumpApp::AskForEditorPath()
{
    std::string title;
    AnsiFromWide(kEditorFolderPrompt, title);  // as far as the code page can show it
    CFolderPicker picker(BIF_RETURNONLYFSDIRS | BIF_DONTGOBELOWDOMAIN, title.c_str(), 0);
    std::string editorPath;
    for (;;) {
        if (picker.Browse() != IDOK)
            return false;
        const std::wstring folder = picker.GetResultPathW();
        if (folder.empty()) {
            ShowFolderRefused(picker.GetResultNameW(), FolderRefusal::NoFileSystemPath);
            continue;
        }
        std::string ansiFolder;
        if (!AnsiFromWide(folder, ansiFolder)) {
            ShowFolderRefused(folder, FolderRefusal::NotInCodePage);
            continue;
        }
        editorPath = EditorPathInFolder(ansiFolder);
        if (SettingsCanHold(editorPath))
            break;
        ShowFolderRefused(folder, FolderRefusal::TooLong);
    }
    m_strEditorPath = editorPath;
    if (const DWORD error = WriteEditorPath(m_strIniPath, m_strEditorPath))
        ShowFailure(Failure::SettingsNotSaved, m_strIniPath, error);
    return true;
}

CJumpApp& JumpApp()
{
    return static_cast<CJumpApp&>(*AfxGetApp());
}
