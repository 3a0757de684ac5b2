// Counted objects and their extensions: the count reaching zero ends each
// object exactly once, parts keep their whole alive, a referenced object
// refuses to go, and extensions answer queries for their host.
#include <gtest/gtest.h>

#include "classlib/graphics/imagelist.h"
#include "foundation/zkdataerrors.h"
#include "tests/foundation/zkdata_test_provider.h"

namespace {

using CountedObjects = CountedTest;

TZkBaseDataItem* AddCounted(TZkDataItemsList* List) {
    TZkBaseDataItem* item = List->CreateItem(TCountedItem::ClassInfo());
    Create<TCountedExtension>(item);
    return item;
}

TEST_F(CountedObjects, LastReleaseEndsTheWholeTreeOnce) {
    TZkIntf<TZkDataItemsList> list(Create<TZkDataItemsList>());
    TZkBaseDataItem* parent = AddCounted(list.get());
    AddCounted(parent->EnsureSubItems());
    AddCounted(parent->SubItemsList());
    ASSERT_EQ(TCountedItem::Live, 3);
    ASSERT_EQ(TCountedExtension::Live, 3);
    EXPECT_EQ(list->RefCount(), 1);
    list.reset();
    // TearDown: every item and extension went.
}

TEST_F(CountedObjects, AReferenceToAPartKeepsTheWholeAlive) {
    TZkIntf<TZkDataItemsList> list(Create<TZkDataItemsList>());
    TZkBaseDataItem* parent = AddCounted(list.get());
    TZkIntf<IZkDataItem> child(AddCounted(parent->EnsureSubItems()));
    // The child's reference reaches the top list through the parent.
    EXPECT_EQ(list->RefCount(), 2);
    TZkIntf<IZkDataItemsRenderer> none = ZkSupports<IZkDataItemsRenderer>(child);
    EXPECT_FALSE(none);
    list.reset();
    EXPECT_EQ(TCountedItem::Live, 2);
    EXPECT_EQ(child->ParentItem().get(), static_cast<IZkDataItem*>(parent));
    child.reset();
}

TEST_F(CountedObjects, ADeletedItemStillReferencedLivesUntilItsLastReference) {
    TZkIntf<TZkDataItemsList> list(Create<TZkDataItemsList>());
    TZkIntf<IZkDataItem> kept(AddCounted(list.get()));
    TZkIntf<IZkDataItem> text = ZkSupports<IZkDataItem>(kept);
    list->DeleteItem(0);
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(list->RefCount(), 1);  // the references went with the item
    EXPECT_FALSE(kept->OwnerList());
    EXPECT_EQ(TCountedItem::Live, 1);
    text.reset();
    kept.reset();
    EXPECT_EQ(TCountedItem::Live, 0);
}

TEST_F(CountedObjects, FreeingAReferencedObjectIsRefused) {
    TZkIntf<TZkDataItemsList> list(Create<TZkDataItemsList>());
    TZkDataItemsList* raw = list.get();
    EXPECT_THROW(raw->Free(), EInvalidPointer);
    EXPECT_EQ(raw->RefCount(), 1);
}

TEST_F(CountedObjects, QueriesFindTheObjectThenExtensionsLastAddedFirst) {
    TZkIntf<TZkDataItemsList> list(Create<TZkDataItemsList>());
    TZkBaseDataItem* item = list->CreateItem(TCountedItem::ClassInfo());
    auto* first = Create<TZkDataItemTextImpl>(item);
    first->SetText("first");
    EXPECT_EQ(ItemText(item), "first");
    // Through an extension the query reaches its host and the host's other extensions.
    EXPECT_EQ(ZkSupports<IZkDataItem>(static_cast<IZkDataItemText*>(first)).get(),
              static_cast<IZkDataItem*>(item));
    EXPECT_FALSE(ZkSupports<IZkDataItemImage>(item));
    Create<TZkDataItemImageImpl>(item);
    EXPECT_TRUE(ZkSupports<IZkDataItemImage>(static_cast<IZkDataItemText*>(first)));
}

TEST_F(CountedObjects, ASecondExtensionOfOneClassIsRefused) {
    TZkIntf<TZkDataItemsList> list(Create<TZkDataItemsList>());
    TZkBaseDataItem* item = AddCounted(list.get());
    try {
        Create<TCountedExtension>(item);
        FAIL() << "no error";
    } catch (const EZKCLDataProvider& e) {
        EXPECT_EQ(e.Message(), "Implementation of that class already exists");
    }
    EXPECT_EQ(item->ExtensionCount(), 1);
    EXPECT_EQ(TCountedExtension::Live, 1);
}

TEST_F(CountedObjects, RemovingAnExtensionFreesItUnlessReferenced) {
    TZkIntf<TZkDataItemsList> list(Create<TZkDataItemsList>());
    TZkBaseDataItem* item = AddCounted(list.get());
    item->RemoveExtension(item->Extension(0));
    EXPECT_EQ(TCountedExtension::Live, 0);

    auto* text = Create<TZkDataItemTextImpl>(item);
    text->SetText("kept");
    TZkIntf<IZkDataItemText> held(text);
    item->RemoveExtension(text);
    EXPECT_EQ(item->ExtensionCount(), 0);
    EXPECT_FALSE(ZkSupports<IZkDataItemText>(item));
    EXPECT_EQ(list->RefCount(), 1);
    // Let go by its host, it still answers for itself.
    EXPECT_EQ(held->Text(), "kept");
    EXPECT_EQ(ZkSupports<IZkDataItemText>(held).get(), held.get());
    held.reset();
}

TEST_F(CountedObjects, ANewItemGetsAUniqueHexadecimalID) {
    TZkIntf<TZkDataItemsList> list(Create<TZkDataItemsList>());
    const std::string a = AddCounted(list.get())->ID();
    const std::string b = AddCounted(list.get())->ID();
    EXPECT_EQ(a.size(), 32u);
    EXPECT_EQ(a.find_first_not_of("0123456789ABCDEF"), std::string::npos);
    EXPECT_NE(a, b);
}

}  // namespace

namespace {

TEST_F(CountedObjects, ManagementDeletesOnlyItemsOfItsList) {
    TZkIntf<TZkDataItemsList> list(Create<TZkDataItemsList>());
    TZkIntf<TZkDataItemsList> other(Create<TZkDataItemsList>());
    auto* management = Create<TZkBaseDataItemsListManagement>(list.get());
    list->SetItemClass(TCountedItem::ClassInfo());
    TZkIntf<IZkDataItem> mine = management->Add();
    TZkIntf<IZkDataItem> foreign(AddCounted(other.get()));
    try {
        management->Remove(foreign.get());
        FAIL() << "no error";
    } catch (const EZKCLDataItems& e) {
        EXPECT_EQ(e.Message(), "Item cannot be deleted");
    }
    management->Remove(mine.get());
    EXPECT_EQ(list->Count(), 0);
    EXPECT_THROW(management->Delete(0), EZKCLDataItems);
    EXPECT_THROW(management->Create(TZkDataItemTextImpl::ClassInfo()), EZKCLDataItems);
}

TEST_F(CountedObjects, DeepSearchGoesDepthFirstFromTheLastItem) {
    TZkIntf<TZkDataItemsList> list(Create<TZkDataItemsList>());
    TZkBaseDataItem* first = AddCounted(list.get());
    TZkBaseDataItem* child = AddCounted(first->EnsureSubItems());
    TZkBaseDataItem* second = AddCounted(list.get());
    AddCounted(second->EnsureSubItems())->SetID("twin");
    child->SetID("twin");
    EXPECT_FALSE(list->FindItem("twin", false));
    TZkIntf<IZkDataItem> found = list->FindItem("twin", true);
    EXPECT_EQ(found->ParentItem().get(), static_cast<IZkDataItem*>(second));
}

}  // namespace

namespace {

TEST_F(CountedObjects, AFreedImageListIsForgotten) {
    TZkIntf<TZkDataItemsList> list(Create<TZkDataItemsList>());
    Create<TZkCustomDataItemsImages>(list.get());
    TZkIntf<IZkDataItemsImages> images = ZkSupports<IZkDataItemsImages>(list);
    auto* imageList = Create<TCustomImageList>(static_cast<TComponent*>(nullptr));
    images->SetImages(imageList);
    EXPECT_EQ(images->Images(), imageList);
    imageList->Free();
    EXPECT_EQ(images->Images(), nullptr);
}

}  // namespace
