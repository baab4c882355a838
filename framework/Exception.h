#pragma once

// Exceptions of the framework's file and string classes. The window
// procedure catches them and calls ReportError; nothing else reports them.
class CException
{
public:
    virtual ~CException() {}
    // Shows the report that an exception escaping a message handler gets.
    virtual void ReportError() const = 0;
};

class CMemoryException : public CException
{
public:
    // "Out of memory." with the exclamation icon, system-modal.
    void ReportError() const override;
};

[[noreturn]] void AfxThrowMemoryException();
