// The shortcut search of an item tree. Popup handlers run on the way down may
// rebuild the tree, so the path is searched again at every step; restarts and
// the depth of the walk are capped so that a handler that keeps changing the
// tree cannot hold the keyboard forever.
#include <set>

#include "toolbar/baritem.h"

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
    TBarCustomItem* found = nullptr;
    for (int restart = 0; !found; ++restart) {
        if (restart > MaxRestarts) return false;
        TShortCutHit hit = search.Find(this);
        if (!hit.Found) return false;
        TBarCustomItem* current = this;
        for (int step = 0; step < MaxWalkSteps; ++step) {
            if (!current->Enabled()) return false;
            TBarCustomItem* children = current->EffectiveItems();
            if (!ComponentState().Contains(csDesigning))
                for (int i = 0; i < children->Count(); ++i) children->Items(i)->InitiateAction();
            if (!(current->ItemStyle() & isfEmbeddedGroup)) {
                if (TBarCustomItem* link = current->LinkSubitems()) link->DoPopup(current, true);
                current->DoPopup(current, false);
            }
            hit = search.Find(current);
            if (!hit.Found) break;
            if (hit.TopLevel == hit.Found) {
                found = hit.Found;
                break;
            }
            current = hit.TopLevel;
        }
    }
    if (!found->Enabled()) return false;
    found->Click();
    return true;
}
