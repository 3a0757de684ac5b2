#include "controls/scoldprops.h"

void TScOldPropReader::ReadBoolean(TReader* Reader) {
    Reader->ReadBoolean();
}

void TScOldPropReader::ReadIdent(TReader* Reader) {
    Reader->ReadIdent();
}

void TScOldPropReader::ReadInteger(TReader* Reader) {
    Reader->ReadInteger();
}

void TScOldPropReader::ReadStrings(TReader* Reader) {
    Reader->ReadListBegin();
    while (!Reader->EndOfList()) Reader->ReadString();
    Reader->ReadListEnd();
}

TScOldPropReader* OldPropReader() {
    // Holds no state, so one instance serves every reader for the program's life.
    static TOwned<TScOldPropReader> reader(Create<TScOldPropReader>());
    return reader.get();
}
