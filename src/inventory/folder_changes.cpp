#include "inventory/folder_changes.h"

#include <algorithm>
#include <unordered_map>

#include "inventory/scan.h"

namespace {

// What the notices of one batch say of one entry, and what the disk says of it now.
struct Fact {
    ChangeFolder folder = ChangeFolder::Desktop;
    std::wstring name; // the latest name a notice gave it (letter case included)
    EntryOnDisk disk = EntryOnDisk::Missing;
    bool handled = false; // placed in its group already
    std::wstring renamedTo; // the entry it was renamed to (in the same folder), if any
};

std::wstring FactKey(ChangeFolder folder, const std::wstring& name) {
    return (folder == ChangeFolder::Desktop ? L"D" : L"S") + FoldName(name);
}

bool SameItem(const Item& a, const Item& b) {
    return a.name == b.name && a.path == b.path && a.isDir == b.isDir;
}

class Applier {
  public:
    explicit Applier(const ChangeRules& rules) : rules_(rules) {}

    // Reads the notices into facts; false when they do not tell what changed.
    bool Read(const std::vector<FolderChange>& changes) {
        std::wstring renamedFrom; // the key of a rename's old name, until its new name comes
        for (const FolderChange& c : changes) {
            if (c.kind == ChangeKind::Overflow) return false;
            // The store itself made, removed or renamed: its listing is another one now.
            if (c.folder == ChangeFolder::Desktop && IsHiddenStoreName(c.name)) return false;
            const bool from = c.kind == ChangeKind::RenamedFrom;
            if (c.name.empty() || SkipInScan(c.name)) {
                renamedFrom.clear();
                continue;
            }
            const std::wstring key = FactKey(c.folder, c.name);
            auto [it, isNew] = facts_.try_emplace(key);
            if (isNew) order_.push_back(key);
            it->second.folder = c.folder;
            if (!from || it->second.name.empty()) it->second.name = c.name;
            if (c.kind == ChangeKind::RenamedTo && !renamedFrom.empty() && renamedFrom != key &&
                facts_[renamedFrom].folder == c.folder)
                facts_[renamedFrom].renamedTo = key;
            renamedFrom = from ? key : std::wstring();
            if (it->second.name.size() >= nameSizes_.size()) nameSizes_.resize(it->second.name.size() + 1);
            nameSizes_[it->second.name.size()] = true;
        }
        for (auto& [key, f] : facts_) f.disk = rules_.onDisk ? rules_.onDisk(f.folder, f.name) : EntryOnDisk::Missing;
        return true;
    }

    ChangeOutcome Apply(std::vector<Group>& groups) {
        ChangeOutcome out;
        if (facts_.empty()) return out;
        bool regroup = false;
        for (Group& g : groups) {
            std::vector<Item> kept;
            kept.reserve(g.second.size() + 1);
            bool changed = false;
            for (Item& item : g.second) {
                Fact* f = Touched(item);
                if (!f) {
                    kept.push_back(std::move(item));
                    continue;
                }
                Fact* now = Follow(f);
                if (now) {
                    Item n = Make(*now);
                    if (ShownIn(n, now->folder) == g.first) {
                        now->handled = true;
                        changed = changed || !SameItem(n, item);
                        kept.push_back(std::move(n));
                        continue;
                    }
                }
                changed = true; // gone, or shown in another group (joins it below)
            }
            g.second.swap(kept);
            if (!changed) continue;
            out.changedKeys.push_back(g.first);
            if (g.second.empty()) regroup = true; // a box goes (or a user-made box takes its own name)
        }
        std::vector<Item> newcomers;
        for (const std::wstring& key : order_) {
            Fact& f = facts_[key];
            if (f.handled || f.disk == EntryOnDisk::Missing) continue;
            Item n = Make(f);
            const std::wstring groupKey = ShownIn(n, f.folder);
            if (groupKey.empty()) continue;
            auto g = std::find_if(groups.begin(), groups.end(), [&](const Group& x) { return x.first == groupKey; });
            if (g == groups.end()) {
                newcomers.push_back(std::move(n));
                regroup = true;
                continue;
            }
            auto at = g->second.end();
            if (f.folder == ChangeFolder::Desktop)
                while (at != g->second.begin() && InStore(*(at - 1))) --at;
            g->second.insert(at, std::move(n));
            if (std::find(out.changedKeys.begin(), out.changedKeys.end(), groupKey) == out.changedKeys.end())
                out.changedKeys.push_back(groupKey);
        }
        if (regroup) Regroup(groups, newcomers, out);
        return out;
    }

  private:
    bool InStore(const Item& item) const {
        return !rules_.hidden.empty() && item.path.size() == rules_.hidden.size() + 1 + item.name.size();
    }

    Fact* Touched(const Item& item) {
        if (item.name.size() >= nameSizes_.size() || !nameSizes_[item.name.size()]) return nullptr;
        const auto it = facts_.find(FactKey(InStore(item) ? ChangeFolder::Store : ChangeFolder::Desktop, item.name));
        return it == facts_.end() ? nullptr : &it->second;
    }

    // The entry a shown item is now: itself, or where its renames led; null when it is gone.
    Fact* Follow(Fact* f) {
        for (size_t steps = 0; f && steps <= facts_.size(); ++steps) {
            if (f->disk != EntryOnDisk::Missing) return f->handled ? nullptr : f;
            f = f->renamedTo.empty() ? nullptr : &facts_[f->renamedTo];
        }
        return nullptr;
    }

    Item Make(const Fact& f) const {
        Item item;
        item.name = f.name;
        item.path = (f.folder == ChangeFolder::Desktop ? rules_.desktop : rules_.hidden) + L"\\" + f.name;
        item.isDir = f.disk == EntryOnDisk::Folder;
        if (!item.isDir) item.ext = GetExt(f.name);
        return item;
    }

    // The group that shows an entry, as the scan decides it; empty when no box shows it.
    std::wstring ShownIn(const Item& item, ChangeFolder folder) const {
        if (folder == ChangeFolder::Desktop && rules_.freedItems && rules_.freedItems->count(item.name)) return {};
        std::wstring key = GetGroupKey(item);
        if (rules_.hiddenBoxes && rules_.hiddenBoxes->count(key)) return {};
        return key;
    }

    // A group came or went: the scan's own rules order the groups again, from the entries they hold.
    void Regroup(std::vector<Group>& groups, std::vector<Item>& newcomers, ChangeOutcome& out) const {
        ScanInput in;
        in.desktop = rules_.desktop;
        in.hidden = rules_.hidden;
        in.freedItems = rules_.freedItems;
        in.hiddenBoxes = rules_.hiddenBoxes;
        in.customBoxes = rules_.customBoxes;
        const auto list = [&](const Item& item) {
            (InStore(item) ? in.hiddenListing : in.desktopListing).push_back({item.name, item.isDir});
        };
        for (const Group& g : groups) std::for_each(g.second.begin(), g.second.end(), list);
        std::for_each(newcomers.begin(), newcomers.end(), list);
        ScanResult r = DecideScan(in);
        const auto find = [](const std::vector<Group>& gs, const std::wstring& key) {
            return std::find_if(gs.begin(), gs.end(), [&](const Group& g) { return g.first == key; });
        };
        for (const Group& g : r.groups) {
            const auto old = find(groups, g.first);
            const bool same = old != groups.end() && old->second.size() == g.second.size() &&
                              std::equal(g.second.begin(), g.second.end(), old->second.begin(), SameItem);
            if (!same && std::find(out.changedKeys.begin(), out.changedKeys.end(), g.first) == out.changedKeys.end())
                out.changedKeys.push_back(g.first);
        }
        out.regrouped = r.groups.size() != groups.size();
        for (size_t i = 0; i < groups.size() && !out.regrouped; ++i) out.regrouped = groups[i].first != r.groups[i].first;
        groups = std::move(r.groups);
    }

    const ChangeRules& rules_;
    std::unordered_map<std::wstring, Fact> facts_;
    std::vector<std::wstring> order_; // keys in the order notices first named them
    std::vector<bool> nameSizes_;     // lengths of the names notices gave
};

} // namespace

ChangeOutcome ApplyFolderChanges(std::vector<Group>& groups, const std::vector<FolderChange>& changes,
                                 const ChangeRules& rules) {
    Applier applier(rules);
    if (!applier.Read(changes)) {
        ChangeOutcome out;
        out.rescan = true;
        return out;
    }
    return applier.Apply(groups);
}
