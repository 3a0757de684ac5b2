// The looks a group and the group controller share: caption and item
// styles and what an item selection marks.
#pragma once

enum TScCaptionStyle { csSmall, csLarge };
enum TScItemStyle { isSmall, isLarge };
enum TScItemSelectionStyle { issImage, issCaption, issImageAndCaption };
