// The published properties of the data provider framework's classes.
#include "classlib/core/properties.h"
#include "foundation/zkdataconsumer.h"
#include "foundation/zkdataitems.h"
#include "foundation/zkdatastreaming.h"
#include "foundation/zkdataviewlist.h"

void PublishZkDataProperties() {
    TPublish<TZkBaseDataItem>().Property("ID", &TZkBaseDataItem::ID, &TZkBaseDataItem::SetID);
    TPublish<TZkDataItemTextImpl>().Property("Text", &TZkDataItemTextImpl::Text,
                                             &TZkDataItemTextImpl::SetText);
    TPublish<TZkDataItemImageImpl>()
        .Property("ImageIndex", &TZkDataItemImageImpl::ImageIndex, &TZkDataItemImageImpl::SetImageIndex)
        .Default(-1)
        .Property("SelectedIndex", &TZkDataItemImageImpl::SelectedIndex,
                  &TZkDataItemImageImpl::SetSelectedIndex)
        .Default(-1)
        .Property("StateIndex", &TZkDataItemImageImpl::StateIndex, &TZkDataItemImageImpl::SetStateIndex)
        .Default(-1);
    TPublish<TZkDataConsumer>()
        .Property("Provider", &TZkDataConsumer::ProviderObject, &TZkDataConsumer::SetProviderObject)
        .Stored(&TZkDataConsumer::IsProviderStored)
        .Property("Context", &TZkDataConsumer::Context, &TZkDataConsumer::SetContext)
        .Stored(&TZkDataConsumer::IsContextStored);
    TPublish<TZkDataConsumerItemSelect>().Property("Item", &TZkDataConsumerItemSelect::Item,
                                                   &TZkDataConsumerItemSelect::SetItem);
    TPublish<TZkDataConsumerViewList>()
        .Property("LevelIndent", &TZkDataConsumerViewList::LevelIndent,
                  &TZkDataConsumerViewList::SetLevelIndent)
        .Default(16);
}
