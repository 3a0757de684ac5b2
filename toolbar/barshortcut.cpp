// The shortcut search of an item tree. Popup handlers run on the way down may
// rebuild the tree, so the path is searched again at every step; restarts and
// the depth of the walk are capped so that a handler that keeps changing the
// tree cannot hold the keyboard forever.
#include <set>

#include "toolbar/baritem.h"
#include "toolbar/barwatch.h"

namespace {

constexpr int MaxRestarts = 25;
constexpr int MaxWalkSteps = 256;

struct TShortCutHit {
    TBarCustomItem* TopLevel = nullptr;
    TBarCustomItem* Found = nullptr;
};

class TShortCutSearch {
public:
    explicit TShortCutSearch(TShortCut Key) : key_(Key) {}

    TShortCutHit Find(TBarCustomItem* Start) {
        visited_.clear();
        TShortCutHit hit;
        hit.Found = Search(Start, 0, hit.TopLevel);
        return hit;
    }

private:
    TBarCustomItem* Search(TBarCustomItem* Start, int Hops, TBarCustomItem*& TopLevel) {
        // Visiting an item once per search keeps a link back to an ancestor
        // from multiplying the work.
        if (!visited_.insert(Start).second) return nullptr;
        TBarCustomItem* items = Start;
        if (Start->LinkSubitems()) {
            if (++Hops > BarMaxLinkHops) return nullptr;
            items = Start->LinkSubitems();
        }
        for (int i = 0; i < items->Count(); ++i) {
            TBarCustomItem* child = items->Items(i);
            if (child->ShortCut() == key_) {
                TopLevel = child;
                return child;
            }
            TBarCustomItem* below = nullptr;
            if (TBarCustomItem* found = Search(child, Hops, below)) {
                TopLevel = child;
                return found;
            }
        }
        return nullptr;
    }

    TShortCut key_;
    std::set<TBarCustomItem*> visited_;
};

}  // namespace

bool TBarCustomItem::IsShortCut(TMessage& Message) {
    const TShortCut key = ::ShortCut(static_cast<WORD>(Message.WParam), KeyDataToShiftState(Message.LParam));
    return key != 0 && IsShortCutKey(key);
}

bool TBarCustomItem::IsShortCutKey(TShortCut Key) {
    TShortCutSearch search(Key);
    // A popup handler on the way may free any item of the path, this root
    // included: each is held through a watch, and a walk that loses its
    // item starts over from the root.
    TBarWatch<TBarCustomItem> self(this);
    TBarWatch<TBarCustomItem> current;
    TBarCustomItem* found = nullptr;
    for (int restart = 0; !found; ++restart) {
        if (restart > MaxRestarts || !self) return false;
        TShortCutHit hit = search.Find(this);
        if (!hit.Found) return false;
        current.Set(this);
        for (int step = 0; step < MaxWalkSteps; ++step) {
            if (!current->Enabled()) return false;
            if (!ComponentState().Contains(csDesigning)) {
                TBarWatch<TBarCustomItem> children(current->EffectiveItems());
                for (int i = 0; children && i < children->Count(); ++i) children->Items(i)->InitiateAction();
            }
            if (current && !(current->ItemStyle() & isfEmbeddedGroup)) {
                if (TBarCustomItem* link = current->LinkSubitems()) link->DoPopup(current.Get(), true);
                if (current) current->DoPopup(current.Get(), false);
            }
            if (!current || !self) break;
            hit = search.Find(current.Get());
            if (!hit.Found) break;
            if (hit.TopLevel == hit.Found) {
                found = hit.Found;
                break;
            }
            current.Set(hit.TopLevel);
        }
    }
    if (!found->Enabled()) return false;
    found->Click();
    return true;
}
