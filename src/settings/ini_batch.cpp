#include "settings/ini_batch.h"

#include <algorithm>
#include <cwctype>
#include <unordered_map>

namespace {

wchar_t Lower(wchar_t c) { return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(c))); }

std::wstring Folded(const std::wstring& name) {
    std::wstring out(name);
    for (wchar_t& c : out) c = Lower(c);
    return out;
}

std::wstring KeyOfLine(const std::wstring& line) {
    return line.substr(0, line.find(L'='));
}

} // namespace

bool SameIniName(const std::wstring& a, const std::wstring& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

IniPendingEdits::Section* IniPendingEdits::Find(const std::wstring& section) {
    for (Section& s : sections_)
        if (SameIniName(s.name, section)) return &s;
    return nullptr;
}

const IniPendingEdits::Section* IniPendingEdits::Find(const std::wstring& section) const {
    return const_cast<IniPendingEdits*>(this)->Find(section);
}

IniPendingEdits::Section& IniPendingEdits::Get(const std::wstring& section) {
    if (Section* s = Find(section)) return *s;
    sections_.push_back(Section{section, {}, -1, false});
    return sections_.back();
}

void IniPendingEdits::Set(const std::wstring& section, const std::wstring& key, const std::wstring& value) {
    Section& s = Get(section);
    if (s.made < 0) s.made = ++seq_;
    s.edits.push_back({Edit::Set, key, value});
}

void IniPendingEdits::EraseKey(const std::wstring& section, const std::wstring& key) {
    Get(section).edits.push_back({Edit::Erase, key, std::wstring()});
}

void IniPendingEdits::EraseSection(const std::wstring& section) {
    Section& s = Get(section);
    s.edits.assign(1, {Edit::Wipe, std::wstring(), std::wstring()}); // what came before is gone with it
    s.wiped = true;
    s.made = -1;
}

std::optional<std::optional<std::wstring>> IniPendingEdits::Lookup(const std::wstring& section,
                                                                   const std::wstring& key) const {
    const Section* s = Find(section);
    if (!s) return std::nullopt;
    for (auto e = s->edits.rbegin(); e != s->edits.rend(); ++e) {
        if (e->kind == Edit::Wipe) return std::optional<std::wstring>();
        if (!SameIniName(e->key, key)) continue;
        if (e->kind == Edit::Erase) return std::optional<std::wstring>();
        return std::optional<std::wstring>(e->value);
    }
    return std::nullopt;
}

std::vector<IniPendingEdits::SectionWork> IniPendingEdits::Work() const {
    std::vector<const Section*> order;
    for (const Section& s : sections_) order.push_back(&s);
    std::stable_sort(order.begin(), order.end(), [](const Section* a, const Section* b) { return a->made < b->made; });
    std::vector<SectionWork> work;
    for (const Section* s : order) work.push_back({s->name, s->wiped, s->wiped && s->made >= 0});
    return work;
}

std::wstring IniPendingEdits::Apply(const std::wstring& section, const std::wstring& block, bool* changed) const {
    const Section* s = Find(section);
    std::vector<std::wstring> lines;
    if (!s || !s->wiped) {
        for (size_t at = 0; at < block.size();) {
            const size_t end = std::min(block.find(L'\0', at), block.size());
            lines.push_back(block.substr(at, end - at));
            at = end + 1;
        }
    }
    const std::vector<std::wstring> before = lines;
    std::vector<bool> gone(lines.size(), false);
    std::unordered_map<std::wstring, size_t> where; // folded key -> its line
    for (size_t i = 0; i < lines.size(); ++i) where.emplace(Folded(KeyOfLine(lines[i])), i);
    static const std::vector<Edit> kNone;
    for (const Edit& e : s ? s->edits : kNone) {
        if (e.kind == Edit::Wipe) continue; // only ever the first edit
        const std::wstring folded = Folded(e.key);
        const auto found = where.find(folded);
        if (e.kind == Edit::Erase) {
            if (found != where.end()) gone[found->second] = true, where.erase(found);
        } else if (found != where.end()) {
            std::wstring& line = lines[found->second];
            line = KeyOfLine(line) + L"=" + e.value;
        } else {
            where.emplace(folded, lines.size());
            lines.push_back(e.key + L"=" + e.value);
            gone.push_back(false);
        }
    }
    std::vector<std::wstring> after;
    std::wstring out;
    for (size_t i = 0; i < lines.size(); ++i) {
        if (gone[i]) continue;
        after.push_back(lines[i]);
        if (after.size() > 1) out += L'\0';
        out += lines[i];
    }
    if (changed) *changed = (s && s->wiped) || after != before;
    return out;
}

void IniPendingEdits::Forget(const std::wstring& section) {
    sections_.erase(std::remove_if(sections_.begin(), sections_.end(),
                                   [&](const Section& s) { return SameIniName(s.name, section); }),
                    sections_.end());
}
