// INI edits held in memory during a batch (a drop of many files) and applied once per section.
// A write to the profile file rewrites the whole file, so a batch of hundreds of writes is made
// into one rewrite per section touched, with exactly the result of the writes one by one: a key
// that is there keeps its place and spelling and takes the new value, a new key goes to the end of
// its section, a wiped section comes back (at the end of the file) with what was written after.
// Names compare without regard to letter case, as the profile functions compare them.
#pragma once
#include <optional>
#include <string>
#include <vector>

class IniPendingEdits {
public:
    void Set(const std::wstring& section, const std::wstring& key, const std::wstring& value);
    void EraseKey(const std::wstring& section, const std::wstring& key);
    void EraseSection(const std::wstring& section);

    bool Empty() const { return sections_.empty(); }
    bool Touches(const std::wstring& section) const { return Find(section) != nullptr; }

    // What a read of the key sees: nothing when the edits do not decide it (read the file), an
    // empty optional inside when the edits took the key away, else its value.
    std::optional<std::optional<std::wstring>> Lookup(const std::wstring& section, const std::wstring& key) const;

    // One section's work at the time of writing, in the order the sections must be written (the
    // order in which one-by-one writes would have made them).
    struct SectionWork {
        std::wstring name;
        bool wipe = false;   // the section goes first
        bool remade = false; // ... and comes back at the end of the file (written after the wipe)
    };
    std::vector<SectionWork> Work() const;
    // The section's lines ("key=value\0key=value", as the platform lists a section, without the final
    // NULs) after the edits; `changed` tells whether they differ from `block` (or the section goes).
    std::wstring Apply(const std::wstring& section, const std::wstring& block, bool* changed) const;
    void Forget(const std::wstring& section);

private:
    struct Edit {
        enum Kind { Set, Erase, Wipe } kind;
        std::wstring key, value;
    };
    struct Section {
        std::wstring name;
        std::vector<Edit> edits;
        long long made = -1; // sequence number of the write that makes it anew, -1: none
        bool wiped = false;
    };
    Section* Find(const std::wstring& section);
    const Section* Find(const std::wstring& section) const;
    Section& Get(const std::wstring& section);

    std::vector<Section> sections_;
    long long seq_ = 0;
};

// Case-insensitive equality of profile names.
bool SameIniName(const std::wstring& a, const std::wstring& b);
