#pragma once
#include "framework/WinApp.h"

class CSetupApp : public CWinApp
{
public:
    CSetupApp();
    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};
