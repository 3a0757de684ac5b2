#include "toolbar/barlists.h"

namespace {

bool AddAt(TOwned<TList>& List, void* Item, bool Front) {
    if (!List) List = MakeOwned<TList>();
    if (List->IndexOf(Item) >= 0) return false;
    if (Front)
        List->Insert(0, Item);
    else
        List->Add(Item);
    return true;
}

}  // namespace

bool AddToList(TOwned<TList>& List, void* Item) {
    return AddAt(List, Item, false);
}

bool AddToFrontOfList(TOwned<TList>& List, void* Item) {
    return AddAt(List, Item, true);
}

void RemoveFromList(TOwned<TList>& List, void* Item) {
    if (!List) return;
    List->Remove(Item);
    if (List->Count() == 0) List.reset();
}

void ListSortEx(TList* List, TListSortExCompare Compare, void* ExtraData) {
    if (!List || List->Count() < 2) return;
    std::vector<void*> items(static_cast<size_t>(List->Count()));
    for (int i = 0; i < List->Count(); ++i) items[static_cast<size_t>(i)] = List->Items(i);
    QuickSortEx(items, [&](void* a, void* b) { return Compare(a, b, ExtraData); });
    for (int i = 0; i < List->Count(); ++i) List->SetItems(i, items[static_cast<size_t>(i)]);
}

int DivRoundUp(int Dividend, int Divisor) {
    const int quotient = Dividend / Divisor;
    if (Dividend % Divisor == 0) return quotient;
    return quotient < 0 ? quotient - 1 : quotient + 1;
}
