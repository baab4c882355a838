#include "framework/Exception.h"
#include "framework/MessageBox.h"

void CMemoryException::ReportError() const
{
    AfxMessageBox("Out of memory.", MB_ICONEXCLAMATION | MB_SYSTEMMODAL);
}

void AfxThrowMemoryException()
{
    throw CMemoryException();
}
