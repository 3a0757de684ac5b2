// The interfaces of the data provider framework: items and item lists with
// their optional capabilities (text, images, sub-items, drawing,
// management), contexts, providers and their change notifications.
#pragma once

#include <string>

#include "classlib/graphics/geometry.h"
#include "foundation/zkinterfaces.h"

class TCanvas;
class TCustomImageList;
struct IZkDataItems;
struct IZkDataContexts;
struct IZkDataProvider;

struct IZkDataItem : virtual IZkUnknown {
    virtual std::string ID() = 0;
    // The list that holds the item; null once the item was taken out of it.
    virtual TZkIntf<IZkDataItems> OwnerList() = 0;
    // The item whose sub-items hold this one; null at the top level.
    virtual TZkIntf<IZkDataItem> ParentItem() = 0;
};

struct IZkDataItems : virtual IZkUnknown {
    virtual int Count() = 0;
    // Raises EZKCLDataItems "List index out of bounds (%d)".
    virtual TZkIntf<IZkDataItem> Item(int Index) = 0;
    virtual int IndexOf(IZkDataItem* Item) = 0;
    // By ID in this list and, when Deep, in every child list below it
    // (depth first, last item first); null when there is none.
    virtual TZkIntf<IZkDataItem> FindItem(const std::string& ID, bool Deep) = 0;
    // The item this list holds the sub-items of; null for a top list.
    virtual TZkIntf<IZkDataItem> ParentItem() = 0;
};

struct IZkDataItemText : virtual IZkUnknown {
    virtual std::string Text() = 0;
    virtual void SetText(const std::string& Value) = 0;
    virtual bool Editable() = 0;
};

struct IZkDataItemImage : virtual IZkUnknown {
    virtual int ImageIndex() = 0;
    virtual void SetImageIndex(int Value) = 0;
    virtual int SelectedIndex() = 0;
    virtual void SetSelectedIndex(int Value) = 0;
    virtual int StateIndex() = 0;
    virtual void SetStateIndex(int Value) = 0;
};

struct IZkDataItemSubItems : virtual IZkUnknown {
    virtual TZkIntf<IZkDataItems> SubItems() = 0;
};

// An item that acts on a click on the control showing it.
struct IZkDataItemClick : virtual IZkUnknown {
    // True when the item took the click.
    virtual bool Click() = 0;
};

// Draws and measures the items of a list. Drawing with DT_CALCRECT in Flags
// measures instead: R keeps its top left corner and takes the item's size.
struct IZkDataItemsRenderer : virtual IZkUnknown {
    virtual void DrawItem(int Index, TCanvas* Canvas, TRect& R, UINT Flags) = 0;
    virtual void DrawItem(IZkDataItem* Item, TCanvas* Canvas, TRect& R, UINT Flags) = 0;
    virtual TSize MeasureItem(int Index, TCanvas* Canvas) = 0;
    virtual TSize MeasureItem(IZkDataItem* Item, TCanvas* Canvas) = 0;
    virtual TSize AverageItemSize(TCanvas* Canvas) = 0;
};

struct IZkDataItemsManagement : virtual IZkUnknown {
    // A new item of the list's own item class, at the end.
    virtual TZkIntf<IZkDataItem> Add() = 0;
    // A new item of a given item class, at the end.
    virtual TZkIntf<IZkDataItem> Create(TClass ItemClass) = 0;
    virtual void Delete(int Index) = 0;
    // Raises EZKCLDataItems "Item cannot be deleted" for an item the list
    // does not hold.
    virtual void Remove(IZkDataItem* Item) = 0;
};

struct IZkDataItemsImages : virtual IZkUnknown {
    virtual TCustomImageList* Images() = 0;
    virtual void SetImages(TCustomImageList* Value) = 0;
};

struct IZkDataContext : virtual IZkUnknown {
    virtual std::string Name() = 0;
    // Raises EZKCLDataContexts "A context with that name already exists".
    virtual void SetName(const std::string& Value) = 0;
    // The contexts list that holds this context (null once taken out).
    virtual TZkIntf<IZkDataContexts> OwnerContexts() = 0;
    // This context's own contexts.
    virtual TZkIntf<IZkDataContexts> Contexts() = 0;
    virtual IZkDataProvider* Provider() = 0;
};

struct IZkDataContexts : virtual IZkUnknown {
    virtual int Count() = 0;
    virtual TZkIntf<IZkDataContext> Context(int Index) = 0;
    // The context a path names, or null. Segments end at the first "\" or
    // "/"; ".." moves to the parent contexts, a leading separator starts at
    // the root contexts, a name is compared without case. A path that ends
    // on a list (".." or a trailing separator) names the context owning it.
    virtual TZkIntf<IZkDataContext> FindContext(const std::string& Path) = 0;
    // The context whose own contexts these are; null for the root list.
    virtual TZkIntf<IZkDataContext> OwnerContext() = 0;
    virtual IZkDataProvider* Provider() = 0;
};

// What a provider tells the consumers that registered with it. Providers
// hold these uncounted: a consumer unregisters before it goes.
struct IZkDataProviderNotify {
    virtual void ProviderContentChanged() = 0;
    virtual void ItemAdded(IZkDataItem* Item) = 0;
    virtual void ItemDeleting(IZkDataItem* Item) = 0;
    virtual void ContextDeleting(IZkDataContext* Context) = 0;
    // The provider is going away: drop every reference to it.
    virtual void ProviderDestroying() = 0;

protected:
    ~IZkDataProviderNotify() = default;
};

struct IZkDataProvider : virtual IZkUnknown {
    // The top items of a context (null: of the provider itself).
    virtual TZkIntf<IZkDataItems> Items(IZkDataContext* Context) = 0;
    virtual void RegisterNotify(IZkDataProviderNotify* Notify) = 0;
    virtual void UnregisterNotify(IZkDataProviderNotify* Notify) = 0;
};

// A provider whose items stand under named contexts.
struct IZkDataProviderContexts : virtual IZkUnknown {
    virtual TZkIntf<IZkDataContexts> Contexts() = 0;
};
