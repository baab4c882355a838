#include "system/ShellFolders.h"
#include "framework/RegKeyPath.h"

// One buffer of this size serves both queries.
static const DWORD FolderValueBufferSize = 260;

void ReadShellFolders(CString& strDesktop, CString& strPrograms)
{
    strDesktop.Empty();
    strPrograms.Empty();
    const LPCSTR levels[] = { "Software", "Microsoft", "Windows", "CurrentVersion", "Explorer", "Shell folders" };
    CRegKeyPath<6> path;
    if (!path.Open(HKEY_CURRENT_USER, levels))
        return;
    path.Last().QueryStringValue("Desktop", FolderValueBufferSize, strDesktop);
    path.Last().QueryStringValue("Programs", FolderValueBufferSize, strPrograms);
}
