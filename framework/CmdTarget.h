// Command routing: each class that handles commands has one static table of
// (control id, notification) -> member, chained to its base class's table.
#pragma once

#include <windows.h>

#include <cstddef>

class CCmdTarget;
using AFX_PMSG = void (CCmdTarget::*)();

struct AFX_MSGMAP_ENTRY {
    UINT id;    // control or command id
    UINT code;  // notification code; BN_CLICKED (0) also matches a plain command
    AFX_PMSG handler;
};

struct AFX_MSGMAP {
    // A map of no entries of its own, only its base's.
    explicit AFX_MSGMAP(const AFX_MSGMAP* base) : baseMap(base), entries(nullptr), count(0) {}
    // The table's length is its own: no count to keep in step by hand.
    template <size_t N>
    AFX_MSGMAP(const AFX_MSGMAP* base, const AFX_MSGMAP_ENTRY (&table)[N]) : baseMap(base), entries(table), count(N)
    {
    }

    const AFX_MSGMAP* baseMap;
    const AFX_MSGMAP_ENTRY* entries;
    size_t count;
};

class CCmdTarget {
public:
    virtual ~CCmdTarget() = default;

    // Runs the first handler for (id, code) found in this class's map or its
    // bases'; false when there is none.
    bool OnCmdMsg(UINT id, UINT code);

    void BeginWaitCursor();
    void EndWaitCursor();

protected:
    virtual const AFX_MSGMAP* GetMessageMap() const;
};
