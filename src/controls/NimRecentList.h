// CNimRecentList, a recent list of plain texts kept in a registry key of the
// caller's choice.
#pragma once

#include "OrvApi.h"
#include "framework/RecentFileList.h"
#include "platform/Registry.h"

// Texts compare exactly, byte by byte; nothing is canonicalised. The list
// lives in the key "<base path>\<section>" under a root key, as one REG_SZ
// value per entry, named by the entry format filled with 1 for entry 0, 2
// for entry 1 and so on.
//
// The entry format must hold exactly one integer conversion (d, i or u, with
// optional flags and width) and no other conversion except "%%". With any
// other format the list cannot be read or written: ReadListEx and
// WriteListEx return 0 and touch nothing.
class ORV_API CNimRecentList : public CRecentFileList {
public:
    CNimRecentList(UINT start, const char* section, const char* entryFormat, int size,
                   int maxDisplayLength = 30);
    ~CNimRecentList() override;

    CNimRecentList(const CNimRecentList&) = default;
    CNimRecentList& operator=(const CNimRecentList&) = default;

    // Puts the text at the front. Only the first size - 1 entries are looked
    // at for an equal text: one found there moves to the front; otherwise
    // every entry moves down one place and the last drops out. A null or
    // empty text, or a list without slots, leaves the list as it is.
    virtual void Add(const char* text);

    // Creates the list's key when it is missing, then reads each stored
    // entry; a missing or non-string value leaves its entry as it was.
    // Nonzero when the key could be opened.
    virtual BOOL ReadListEx(HKEY root, const char* basePath);
    // Replaces the stored list: deletes the key when it has no subkeys,
    // creates it again and writes every non-empty entry. A key with subkeys
    // is kept, and its values are overwritten in place. Nonzero when the key
    // could be created and every value written.
    virtual BOOL WriteListEx(HKEY root, const char* basePath);

private:
    CString KeyPath(const char* basePath) const;
    // The value name of position 1 to size; false when the entry format is
    // not a single integer pattern.
    bool ValueName(int position, CString& name) const;
};
