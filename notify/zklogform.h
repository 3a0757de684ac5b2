// `TFoLog`: the modal viewer of a log file's records, filled from its
// registered form builder: a toolbar with Save and Print, and a report list
// of time, title and description.
#pragma once

#include <string>
#include <vector>

#include "foundation/zkform.h"

class TAction;
class TActionList;
class TImageList;
class TListView;
class TSaveDialog;
class TToolBar;
class TToolButton;

VX_DECLARE_EXCEPTION(EPrinter, Exception);

class TFoLog : public TZkForm {
    VX_CLASS(TFoLog, TZkForm)
public:
    explicit TFoLog(TComponent* AOwner) : TZkForm(AOwner) {}

    // Each list row as "[time] title > description".
    std::vector<std::string> RowTexts() const;
    // Writes the row texts to a file as lines (CR LF after each); the name
    // is wide, as the save dialog gives it, so any folder works.
    void SaveRows(const std::wstring& FileName) const;

    // Asks for a file and saves the rows there, whatever the extension.
    void SaveExecute(TObject* Sender);
    // Prints the rows on the default printer, one line each. Raises
    // EPrinter when there is no default printer.
    void PrintExecute(TObject* Sender);

    // Set by the form builder.
    TToolBar* ToolBar1 = nullptr;
    TToolButton* ToolButton1 = nullptr;
    TToolButton* ToolButton2 = nullptr;
    TImageList* ImageList1 = nullptr;
    TActionList* ActionList1 = nullptr;
    TAction* Save = nullptr;
    TAction* Print = nullptr;
    TListView* ListView1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;

protected:
    void InheritedWndProc(TMessage& Message) override;
};

// Prints text lines on the default printer as a plain text document.
void PrintTextLines(const std::string& Title, const std::vector<std::string>& Lines);
