#pragma once
#include <windows.h>

class CCmdTarget;

// Handler signatures a message map can name.
typedef void (CCmdTarget::*AFX_PMSG)();
typedef HCURSOR (CCmdTarget::*AFX_PMSG_CURSOR)();

// One row of a message map: WM_COMMAND rows match the notification code and
// the control id, other rows the message alone.
struct AFX_MSGMAP_ENTRY
{
    UINT nMessage;
    UINT nCode;
    UINT nID;
    AFX_PMSG pfn;
    AFX_PMSG_CURSOR pfnCursor;
};

struct AFX_MSGMAP
{
    const AFX_MSGMAP* pBaseMap;
    const AFX_MSGMAP_ENTRY* pEntries;  // ends with a row whose nMessage is 0
};

// An object that handles messages through its class's map, then its base's.
class CCmdTarget
{
public:
    virtual ~CCmdTarget() {}

    // Finds the handler for a message; null when no map in the chain has one.
    const AFX_MSGMAP_ENTRY* FindMessageEntry(UINT nMessage, UINT nCode, UINT nID) const;
    // Runs the handler for a command; FALSE when no map names it.
    virtual BOOL OnCmdMsg(UINT nID, UINT nCode);

protected:
    virtual const AFX_MSGMAP* GetMessageMap() const;
    static const AFX_MSGMAP messageMap;
};

#define DECLARE_MESSAGE_MAP()                         \
protected:                                            \
    const AFX_MSGMAP* GetMessageMap() const override; \
    static const AFX_MSGMAP_ENTRY _messageEntries[];  \
    static const AFX_MSGMAP messageMap;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                     \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return &theClass::messageMap; } \
    const AFX_MSGMAP theClass::messageMap = { &baseClass::messageMap, &theClass::_messageEntries[0] }; \
    const AFX_MSGMAP_ENTRY theClass::_messageEntries[] = {

#define END_MESSAGE_MAP() { 0, 0, 0, nullptr, nullptr } };

#define ON_WM_PAINT(theClass) \
    { WM_PAINT, 0, 0, static_cast<AFX_PMSG>(&theClass::OnPaint), nullptr },
#define ON_WM_QUERYDRAGICON(theClass) \
    { WM_QUERYDRAGICON, 0, 0, nullptr, static_cast<AFX_PMSG_CURSOR>(&theClass::OnQueryDragIcon) },
#define ON_BN_CLICKED(id, memberFxn) \
    { WM_COMMAND, BN_CLICKED, (UINT)(id), static_cast<AFX_PMSG>(&memberFxn), nullptr },
#define ON_COMMAND(id, memberFxn) \
    { WM_COMMAND, 0, (UINT)(id), static_cast<AFX_PMSG>(&memberFxn), nullptr },
