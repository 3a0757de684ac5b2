// `TZkSimScope`: a line chart in the manner of an oscilloscope. Every tick
// the picture scrolls left, the new strip gets its grid and base line, and
// each line's newest segment is drawn at the right edge; the lines keep their
// history, so a resize redraws the whole picture from it. The picture is made
// only when first painted or asked for: a chart on a page never shown records
// its lines but holds no bitmap of its size.
#pragma once

#include "classlib/graphics/bitmap.h"
#include "classlib/windows/controls.h"
#include "classlib/windows/timer.h"
#include "notify/zkscopelines.h"

enum TZkSimScopeDisplayUnit { jduPixels, jduLogical };

class TZkSimScope : public TGraphicControl {
    VX_CLASS(TZkSimScope, TGraphicControl)
public:
    explicit TZkSimScope(TComponent* AOwner);

    bool Active() const { return active_; }
    void SetActive(bool Value);
    TColor BaseColor() const { return baseColor_; }
    void SetBaseColor(TColor Value) { baseColor_ = Value; }
    int BaseLine() const { return baseLine_; }
    void SetBaseLine(int Value);
    TZkScopeLineUnit BaseLineUnit() const { return baseLineUnit_; }
    void SetBaseLineUnit(TZkScopeLineUnit Value);
    TZkSimScopeDisplayUnit DisplayUnits() const { return displayUnits_; }
    void SetDisplayUnits(TZkSimScopeDisplayUnit Value);
    TColor GridColor() const { return gridColor_; }
    void SetGridColor(TColor Value) { gridColor_ = Value; }
    // -1 while the two grid sizes differ; a value above 0 sets both.
    int GridSize() const { return horizontalGridSize_ == verticalGridSize_ ? horizontalGridSize_ : -1; }
    void SetGridSize(int Value);
    int HorizontalGridSize() const { return horizontalGridSize_; }
    void SetHorizontalGridSize(int Value);
    int VerticalGridSize() const { return verticalGridSize_; }
    void SetVerticalGridSize(int Value);
    // The timer period in units of 10 ms.
    int Interval() const { return interval_; }
    void SetInterval(int Value);
    TZkScopeLines* Lines() const { return lines_.get(); }
    void SetLines(TZkScopeLines* Value);
    // Minimum, Maximum and TotalTimeSteps follow the size with jduPixels and
    // can be set only with jduLogical.
    int Minimum() const { return minimum_; }
    void SetMinimum(int Value);
    int Maximum() const { return maximum_; }
    void SetMaximum(int Value);
    int TotalTimeSteps() const { return totalTimeSteps_; }
    void SetTotalTimeSteps(int Value);
    int UpdateTimeSteps() const { return updateTimeSteps_; }
    void SetUpdateTimeSteps(int Value);

    TNotifyEvent OnUpdate;

    void SetBounds(int ALeft, int ATop, int AWidth, int AHeight) override;
    void Loaded() override;
    // Redraws the whole picture from the lines' histories.
    void ClearScreen();
    // One tick: scroll, draw the new strip, record every line's position.
    void UpdateDisplay();
    // The picture as drawn so far; asking for it makes it.
    TBitmap* Picture();
    TTimer* Timer() const { return timer_; }

protected:
    void Paint() override;

private:
    int ValueToY(TZkScopeLineUnit Unit, int Value) const;
    void CalcBase();
    void FullRefresh();
    // Makes the picture at the control's size and draws it from the lines'
    // histories, the first time only.
    void MakePicture();
    // The horizontal grid lines and the base line between X1 and X2.
    void DrawHorizontals(TCanvas* C, int X1, int X2);
    void SetTotal(int Value);
    void TimerTick(TObject* Sender);

    TOwned<TBitmap> bitmap_;
    TTimer* timer_ = nullptr;
    TOwned<TZkScopeLines> lines_;
    bool active_ = false;
    TColor baseColor_ = clRed;
    int baseLine_ = 50;
    TZkScopeLineUnit baseLineUnit_ = jluPercent;
    TZkSimScopeDisplayUnit displayUnits_ = jduPixels;
    TColor gridColor_ = clGreen;
    int horizontalGridSize_ = 16;
    int verticalGridSize_ = 16;
    int interval_ = 50;
    int minimum_ = 0;
    int maximum_ = 120;
    int totalTimeSteps_ = 208;
    int updateTimeSteps_ = 2;
    int baseY_ = 0;
    double stepWidth_ = 1.0;
    double tickCounter_ = 1.0;
    bool drawingAllowed_ = false;
    bool pictureMade_ = false;
};
