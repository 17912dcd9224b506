#include "app/jump_app.h"

#include "app/file_locations.h"
#include "app/settings.h"

CJumpApp::CJumpApp()
{
    const std::string modulePath = ModulePath();
    m_strIniPath = SettingsPathFor(modulePath);
    m_strHistoryPath = HistoryPathFor(modulePath);
    m_strEditorPath = ReadEditorPath(m_strIniPath);
}

BOOL CJumpApp::InitInstance()
{
    return FALSE;
}

CJumpApp& JumpApp()
{
    return static_cast<CJumpApp&>(*AfxGetApp());
}
