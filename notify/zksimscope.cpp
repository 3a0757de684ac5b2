#include "notify/zksimscope.h"

#include <algorithm>
#include <cmath>

namespace {

// Halves to the even neighbour, the way stored charts were drawn.
int RoundEven(double Value) {
    return static_cast<int>(std::nearbyint(Value));
}

// A grid step below a pixel (or not a number) would never end or fill the
// picture: such a grid is left out.
bool UsableStep(double Step) {
    return std::isfinite(Step) && Step >= 1.0;
}

void Line(TCanvas* C, int X1, int Y1, int X2, int Y2) {
    C->MoveTo(X1, Y1);
    C->LineTo(X2, Y2);
}

}  // namespace

TZkSimScope::TZkSimScope(TComponent* AOwner)
    : inherited(AOwner), bitmap_(MakeOwned<TBitmap>()), timer_(Create<TTimer>(this)) {
    SetControlStyle(ControlStyle() + TControlStyle{csFramed, csOpaque});
    timer_->SetEnabled(false);
    timer_->SetInterval(500);
    timer_->OnTimer = TNotifyEvent(this, &TZkSimScope::TimerTick);
    SetBounds(Left(), Top(), 208, 120);
    SetColor(clBlack);
    lines_.reset(Create<TZkScopeLines>(this));
    SetInterval(50);
    tickCounter_ = 1.0;
    drawingAllowed_ = true;
    ClearScreen();
}

void TZkSimScope::SetBounds(int ALeft, int ATop, int AWidth, int AHeight) {
    inherited::SetBounds(ALeft, ATop, AWidth, AHeight);
    if (pictureMade_) bitmap_->SetSize(std::max(Width(), 0), std::max(Height(), 0));
    if (displayUnits_ == jduPixels) {
        minimum_ = 0;
        maximum_ = Height();
        SetTotal(Width());
    }
    ClearScreen();
}

void TZkSimScope::Loaded() {
    inherited::Loaded();
    lines_->ClearValues();
    drawingAllowed_ = true;
}

void TZkSimScope::MakePicture() {
    if (pictureMade_) return;
    pictureMade_ = true;
    TCanvas* c = bitmap_->Canvas();
    c->Brush()->SetStyle(bsSolid);
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(psSolid);
    bitmap_->SetSize(std::max(Width(), 0), std::max(Height(), 0));
    // Ticks before now only recorded the lines: the whole picture comes
    // from their histories, as after a resize.
    ClearScreen();
}

TBitmap* TZkSimScope::Picture() {
    MakePicture();
    return bitmap_.get();
}

void TZkSimScope::Paint() {
    MakePicture();
    if (bitmap_->Width() != Width() || bitmap_->Height() != Height()) bitmap_->SetSize(Width(), Height());
    Canvas()->CopyRect(TRect(0, 0, Width(), Height()), bitmap_->Canvas(), TRect(0, 0, Width(), Height()));
    drawingAllowed_ = true;
}

void TZkSimScope::SetActive(bool Value) {
    if (Value == active_) return;
    active_ = Value;
    CalcBase();
    timer_->SetInterval(static_cast<unsigned>(interval_) * 10);
    timer_->SetEnabled(Value);
}

void TZkSimScope::SetInterval(int Value) {
    if (Value == interval_) return;
    timer_->SetEnabled(false);
    interval_ = Value;
    CalcBase();
    timer_->SetInterval(static_cast<unsigned>(std::max(Value, 0)) * 10);
    timer_->SetEnabled(active_);
}

void TZkSimScope::SetBaseLine(int Value) {
    baseLine_ = Value;
    CalcBase();
    FullRefresh();
}

void TZkSimScope::SetBaseLineUnit(TZkScopeLineUnit Value) {
    if (Value == baseLineUnit_) return;
    baseLineUnit_ = Value;
    FullRefresh();
}

void TZkSimScope::SetGridSize(int Value) {
    if (Value <= 0) return;
    SetHorizontalGridSize(Value);
    SetVerticalGridSize(Value);
}

void TZkSimScope::SetHorizontalGridSize(int Value) {
    if (Value < 1 || Value == horizontalGridSize_) return;
    horizontalGridSize_ = Value;
    FullRefresh();
}

void TZkSimScope::SetVerticalGridSize(int Value) {
    if (Value < 1 || Value == verticalGridSize_) return;
    verticalGridSize_ = Value;
    FullRefresh();
}

void TZkSimScope::SetDisplayUnits(TZkSimScopeDisplayUnit Value) {
    if (Value == displayUnits_) return;
    displayUnits_ = Value;
    if (Value == jduPixels) {
        minimum_ = 0;
        maximum_ = Height();
    }
    FullRefresh();
}

void TZkSimScope::SetMinimum(int Value) {
    if (displayUnits_ != jduLogical || Value == minimum_) return;
    minimum_ = Value;
    FullRefresh();
}

void TZkSimScope::SetMaximum(int Value) {
    if (displayUnits_ != jduLogical || Value == maximum_) return;
    maximum_ = Value;
    FullRefresh();
}

void TZkSimScope::SetTotalTimeSteps(int Value) {
    if (displayUnits_ != jduLogical || Value == totalTimeSteps_) return;
    SetTotal(Value);
    FullRefresh();
}

void TZkSimScope::SetTotal(int Value) {
    totalTimeSteps_ = Value;
    if (lines_) lines_->SetCapacity(Value);
}

void TZkSimScope::SetUpdateTimeSteps(int Value) {
    if (Value >= 1 && Value != updateTimeSteps_) updateTimeSteps_ = Value;
}

void TZkSimScope::SetLines(TZkScopeLines* Value) {
    lines_->Assign(Value);
    lines_->SetCapacity(totalTimeSteps_);
    ClearScreen();
}

void TZkSimScope::FullRefresh() {
    if (!Parent()) return;
    ClearScreen();
    Repaint();
}

int TZkSimScope::ValueToY(TZkScopeLineUnit Unit, int Value) const {
    const double height = Height();
    double y;
    if (Unit == jluPercent) {
        y = height - RoundEven(height * Value / 100.0);
    } else {
        // A range of zero or below has no scale; values then count as if it
        // were one unit wide.
        const double range = std::max(double(maximum_) - minimum_, 1.0);
        y = height - RoundEven((double(Value) - minimum_) * height / range);
    }
    // Far outside values stay just outside the picture, so lines to them
    // still leave at the right edge.
    return static_cast<int>(std::clamp(y, -1.0, height + 1));
}

void TZkSimScope::CalcBase() {
    baseY_ = ValueToY(baseLineUnit_, baseLine_);
    stepWidth_ = totalTimeSteps_ > 0 ? double(Width()) / totalTimeSteps_ : 0.0;
    if (updateTimeSteps_ * stepWidth_ < 2) updateTimeSteps_ = 2;
}

void TZkSimScope::DrawHorizontals(TCanvas* C, int X1, int X2) {
    const int height = Height();
    C->Pen()->SetColor(gridColor_);
    const double range = double(maximum_) - minimum_;
    const double g = range > 0 ? horizontalGridSize_ * height / range : 0.0;
    if (UsableStep(g)) {
        for (double y = baseY_; y < height;) {
            y += g;
            Line(C, X1, RoundEven(y), X2, RoundEven(y));
        }
        for (double y = baseY_; y > 0;) {
            y -= g;
            Line(C, X1, RoundEven(y), X2, RoundEven(y));
        }
    }
    C->Pen()->SetColor(baseColor_);
    Line(C, X1, baseY_, X2, baseY_);
}

void TZkSimScope::ClearScreen() {
    if (!drawingAllowed_ || !lines_) return;
    CalcBase();
    const int width = Width(), height = Height();
    if (width <= 0 || height <= 0) return;
    if (!pictureMade_) {
        // Nothing is drawn before the picture is made, but a line without
        // values starts again as after a redraw.
        for (int i = 0; i < lines_->Count(); ++i)
            if (lines_->Items(i)->Values().Count() < 1) lines_->Items(i)->Values().Clear();
        return;
    }
    TCanvas* c = bitmap_->Canvas();
    c->Pen()->SetWidth(1);
    c->Pen()->SetStyle(psSolid);
    c->Brush()->SetColor(Color());
    c->FillRect(TRect(0, 0, width + 1, height + 1));

    c->Pen()->SetColor(gridColor_);
    const double gridStep = verticalGridSize_ * stepWidth_;
    if (UsableStep(gridStep))
        for (double x = width; x > 0; x -= gridStep) Line(c, RoundEven(x - 1), 0, RoundEven(x - 1), height);
    DrawHorizontals(c, 0, width);

    const int u = updateTimeSteps_;
    for (int i = 0; i < lines_->Count(); ++i) {
        TZkScopeLine* line = lines_->Items(i);
        const TZkScopeLineValues& values = line->Values();
        const int n = values.Count();
        if (n < 1) {
            line->Values().Clear();
            continue;
        }
        c->Pen()->SetColor(line->Color());
        double x = (double(totalTimeSteps_) - n) * stepWidth_;
        c->MoveTo(RoundEven(x), ValueToY(line->PositionUnit(), values.Item(0)));
        // The newest value sits at the right edge, where the ticks drew it.
        for (int j = u - 1; j < n; j += u) {
            x += u * stepWidth_;
            c->LineTo(RoundEven(x), ValueToY(line->PositionUnit(), values.Item(j)));
        }
    }
    tickCounter_ = 1.0;
}

void TZkSimScope::UpdateDisplay() {
    const int width = Width(), height = Height();
    const int u = updateTimeSteps_;
    const int d = RoundEven(u * stepWidth_);
    if (pictureMade_ && d > 0 && width > 0 && height > 0) {
        TCanvas* c = bitmap_->Canvas();
        HDC dc = c->Handle();
        if (d < width) BitBlt(dc, 0, 0, width - d, height, dc, d, 0, SRCCOPY);
        c->Brush()->SetColor(Color());
        c->FillRect(TRect(std::max(width - d, 0), 0, width, height));

        c->Pen()->SetWidth(1);
        c->Pen()->SetStyle(psSolid);
        if (RoundEven(verticalGridSize_ * stepWidth_ / d) <= tickCounter_) {
            c->Pen()->SetColor(gridColor_);
            Line(c, width - 1, 0, width - 1, height);
            tickCounter_ = 0;
        }
        tickCounter_ += 1;
        DrawHorizontals(c, width - d, width);

        for (int i = 0; i < lines_->Count(); ++i) {
            TZkScopeLine* line = lines_->Items(i);
            const TZkScopeLineValues& values = line->Values();
            const int n = values.Count();
            if (n < 1) continue;
            // Just after a clear there are fewer values than two ticks hold.
            auto back = [&](int steps) { return values.Item(std::clamp(n - steps, 0, n - 1)); };
            const TZkScopeLineUnit unit = line->PositionUnit();
            c->Pen()->SetColor(line->Color());
            c->MoveTo(width - 2 * d, ValueToY(unit, back(2 * u)));
            c->LineTo(width - d, ValueToY(unit, back(u)));
            c->LineTo(width, ValueToY(unit, line->Position()));
        }
    }
    for (int i = 0; i < lines_->Count(); ++i) {
        TZkScopeLine* line = lines_->Items(i);
        for (int k = 0; k < u; ++k) line->Values().Add(line->Position());
    }
    if (Parent()) Repaint();
    if (Assigned(OnUpdate)) OnUpdate(this);
}

void TZkSimScope::TimerTick(TObject*) {
    UpdateDisplay();
}
