#include "notify/zklogform.h"

#include <algorithm>

#include "classlib/core/laterlibrary.h"
#include "classlib/core/streams.h"
#include "classlib/core/strings.h"
#include "classlib/core/text.h"
#include "classlib/graphics/handles.h"
#include "classlib/graphics/imagelist.h"
#include "classlib/stdctrls/comctrls_toolbar.h"
#include "classlib/stdctrls/dialogs_common.h"
#include "classlib/stdctrls/listview.h"
#include "classlib/windows/actions.h"
#include "classlib/windows/formresources.h"
#include "classlib/windows/shortcuts.h"

namespace {

constexpr int kMinWidth = 300;
constexpr int kMinHeight = 300;

// The toolbar's two glyphs, drawn: a disk for Save and a printer for Print.
void AddGlyphs(TImageList* Images) {
    TOwned<TBitmap> glyph(Create<TBitmap>());
    glyph->SetSize(16, 16);
    TCanvas* c = glyph->Canvas();
    auto fill = [c](TColor color, TRect r) {
        c->Brush()->SetColor(color);
        c->FillRect(r);
    };
    fill(clFuchsia, TRect(0, 0, 16, 16));
    fill(clNavy, TRect(1, 1, 15, 15));
    fill(clWhite, TRect(4, 2, 12, 7));
    fill(clSilver, TRect(4, 10, 12, 15));
    Images->AddMasked(glyph.get(), clFuchsia);
    fill(clFuchsia, TRect(0, 0, 16, 16));
    fill(clWhite, TRect(4, 1, 12, 6));
    fill(clGray, TRect(1, 6, 15, 12));
    fill(clWhite, TRect(4, 10, 12, 15));
    Images->AddMasked(glyph.get(), clFuchsia);
}

TAction* MakeAction(TFoLog* Form, const char* Name, const char* Caption, const char* Hint, int Image,
                    WORD Key, void (TFoLog::*Handler)(TObject*)) {
    auto* action = LoadComponent<TAction>(Form, Name);
    action->SetActionList(Form->ActionList1);
    action->SetCaption(Caption);
    action->SetHint(Hint);
    action->SetImageIndex(Image);
    action->SetShortCut(ShortCut(Key, {ssCtrl}));
    action->SetOnExecute(TNotifyEvent(Form, Handler));
    return action;
}

TToolButton* MakeButton(TFoLog* Form, const char* Name, TAction* Action, int Left) {
    auto* button = LoadComponent<TToolButton>(Form, Name);
    button->SetLeft(Left);
    button->SetParent(Form->ToolBar1);
    button->SetAction(Action);
    return button;
}

void BuildFoLog(TComponent* Instance) {
    auto* form = static_cast<TFoLog*>(Instance);
    form->SetBounds(form->Left(), form->Top(), 421, 373);
    form->SetPosition(poScreenCenter);
    form->SetCaption("Log");

    form->ImageList1 = LoadComponent<TImageList>(form, "ImageList1");
    AddGlyphs(form->ImageList1);
    form->ActionList1 = LoadComponent<TActionList>(form, "ActionList1");
    form->Save = MakeAction(form, "Save", "Save", "Save", 0, 'S', &TFoLog::SaveExecute);
    form->Print = MakeAction(form, "Print", "&Print", "Print", 1, 'P', &TFoLog::PrintExecute);

    form->ToolBar1 = LoadComponent<TToolBar>(form, "ToolBar1");
    form->ToolBar1->SetParent(form);
    form->ToolBar1->SetAlign(alTop);
    form->ToolBar1->SetFlat(true);
    form->ToolBar1->SetImages(form->ImageList1);
    form->ToolButton1 = MakeButton(form, "ToolButton1", form->Save, 0);
    form->ToolButton2 = MakeButton(form, "ToolButton2", form->Print, 23);

    TListView* list = LoadComponent<TListView>(form, "ListView1");
    form->ListView1 = list;
    list->SetParent(form);
    list->SetAlign(alClient);
    list->SetViewStyle(vsReport);
    list->SetReadOnly(true);
    list->SetRowSelect(true);
    list->SetGridLines(true);
    list->SetHotTrack(true);
    list->SetFlatScrollBars(true);
    const std::pair<const char*, int> columns[] = {{"Time", 115}, {"Title", 120}, {"Description", 150}};
    for (const auto& [caption, width] : columns) {
        TListColumn* column = list->Columns()->Add();
        column->SetCaption(caption);
        column->SetWidth(width);
    }

    form->SaveDialog1 = LoadComponent<TSaveDialog>(form, "SaveDialog1");
    form->SaveDialog1->SetDefaultExt("csv");
    form->SaveDialog1->SetFilter("CSV File (*.csv)|*.csv|Binary File (*.dat)|*.dat");
}

[[maybe_unused]] const bool registered = (RegisterFormBuilder("TFoLog", BuildFoLog), true);

}  // namespace

std::vector<std::string> TFoLog::RowTexts() const {
    std::vector<std::string> rows;
    TListItems* items = ListView1->Items();
    for (int i = 0; i < items->Count(); ++i) {
        TListItem* item = items->Item(i);
        TStrings* sub = item->SubItems();
        rows.push_back(Format("[%s] %s > %s", item->Caption(),
                              sub->Count() > 0 ? sub->Strings(0) : std::string(),
                              sub->Count() > 1 ? sub->Strings(1) : std::string()));
    }
    return rows;
}

void TFoLog::SaveRows(const std::wstring& FileName) const {
    TOwned<TStringList> lines(Create<TStringList>());
    for (const std::string& row : RowTexts()) lines->Add(row);
    TOwned<TFileStream> file(Create<TFileStream>(FileName, fmCreate));
    lines->SaveToStream(file.get());
}

void TFoLog::SaveExecute(TObject*) {
    if (SaveDialog1->Execute()) SaveRows(SaveDialog1->WideFileName());
}

void TFoLog::PrintExecute(TObject*) {
    PrintTextLines(Caption(), RowTexts());
}

void TFoLog::InheritedWndProc(TMessage& Message) {
    inherited::InheritedWndProc(Message);
    if (Message.Msg == WM_GETMINMAXINFO) {
        auto* info = Message.LParamAs<MINMAXINFO>();
        info->ptMinTrackSize.x = std::max<LONG>(info->ptMinTrackSize.x, kMinWidth);
        info->ptMinTrackSize.y = std::max<LONG>(info->ptMinTrackSize.y, kMinHeight);
    }
}

namespace {
// A printer device context, deleted on scope exit.
class TPrinterDC {
public:
    explicit TPrinterDC(const std::string& Printer)
        : dc_(CreateDCA("WINSPOOL", Printer.c_str(), nullptr, nullptr)) {}
    ~TPrinterDC() {
        if (dc_) DeleteDC(dc_);
    }
    TPrinterDC(const TPrinterDC&) = delete;
    TPrinterDC& operator=(const TPrinterDC&) = delete;
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};
}  // namespace

void PrintTextLines(const std::string& Title, const std::vector<std::string>& Lines) {
    char name[512] = {};
    DWORD size = sizeof name;
    static const auto defaultPrinter =
        LaterFunction<decltype(&GetDefaultPrinterA)>(L"winspool.drv", "GetDefaultPrinterA");
    if (!defaultPrinter || !defaultPrinter(name, &size))
        throw EPrinter("There is no default printer currently selected");
    TPrinterDC printer(name);
    if (!printer.Get()) throw EPrinter("Printer selected is not valid");
    HDC dc = printer.Get();
    DOCINFOA doc{};
    doc.cbSize = sizeof doc;
    doc.lpszDocName = Title.c_str();
    if (StartDocA(dc, &doc) <= 0) throw EPrinter("Printing in progress");
    TEXTMETRICA metrics{};
    GetTextMetricsA(dc, &metrics);
    const int lineHeight = std::max<int>(metrics.tmHeight + metrics.tmExternalLeading, 1);
    const int pageHeight = GetDeviceCaps(dc, VERTRES);
    int y = pageHeight;  // forces the first page
    bool pageOpen = false;
    for (const std::string& line : Lines) {
        if (y + lineHeight > pageHeight) {
            if (pageOpen) EndPage(dc);
            StartPage(dc);
            pageOpen = true;
            y = 0;
        }
        TextOutA(dc, 0, y, line.c_str(), static_cast<int>(line.size()));
        y += lineHeight;
    }
    if (pageOpen) EndPage(dc);
    EndDoc(dc);
}
