#pragma once
#include <string>

#include "framework/win_app.h"

class CJumpApp : public CWinApp {
public:
    // Fixes where the settings and the history live and reads the editor's path.
    CJumpApp();

    BOOL InitInstance() override;

    std::string m_strIniPath;
    std::string m_strHistoryPath;
    std::string m_strEditorPath;
};

// The running program's application object.
CJumpApp& JumpApp();
