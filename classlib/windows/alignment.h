// Where text sits in a control: the horizontal alignment of labels, panels
// and columns, the vertical layout of labels, and the DrawText flags that
// carry them.
#pragma once

#include "classlib/core/win32.h"

enum TAlignment { taLeftJustify, taRightJustify, taCenter };
enum TLeftRight { lrLeftJustify = taLeftJustify, lrRightJustify = taRightJustify };
enum TTextLayout { tlTop, tlCenter, tlBottom };

constexpr UINT AlignmentToDrawTextFlags(TAlignment Alignment) {
    return Alignment == taRightJustify ? DT_RIGHT : Alignment == taCenter ? DT_CENTER : DT_LEFT;
}
