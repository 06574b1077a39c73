#pragma once
// Identifiers of the controls of the photo output options dialog. They name the
// controls for the layout, the rules and the tests.

namespace vellumo::app::dialogs::ids {

inline constexpr int kOk = 1;
inline constexpr int kCancel = 2;
inline constexpr int kFormatLabel = 1050;
inline constexpr int kFormatList = 1051;
inline constexpr int kWidthLabel = 1052;
inline constexpr int kHeightLabel = 1053;
inline constexpr int kWidthEdit = 1054;
inline constexpr int kHeightEdit = 1055;
inline constexpr int kPixelFormatLabel = 1056;
inline constexpr int kPixelFormatList = 1057;
inline constexpr int kQualityLabel = 1058;
inline constexpr int kQualityEdit = 1059;
inline constexpr int kQualityRange = 1060;
inline constexpr int kRotateGroup = 1061;
inline constexpr int kRotate0 = 1062;
inline constexpr int kRotate90 = 1063;
inline constexpr int kRotate180 = 1064;
inline constexpr int kRotate270 = 1065;
inline constexpr int kFlipGroup = 1066;
inline constexpr int kNoFlip = 1067;
inline constexpr int kFlipHorizontal = 1068;
inline constexpr int kFlipVertical = 1069;
inline constexpr int kKeepWithWidth = 1070;
inline constexpr int kKeepWithHeight = 1071;
inline constexpr int kOriginalSize = 1072;
inline constexpr int kCustomSize = 1073;
inline constexpr int kStretch = 1074;
inline constexpr int kHorizontalEdit = 1075;
inline constexpr int kHorizontalLabel = 1076;
inline constexpr int kVerticalLabel = 1077;
inline constexpr int kSizeGroup = 1078;
inline constexpr int kVerticalEdit = 1079;
inline constexpr int kPixelDescription = 1093;

}  // namespace vellumo::app::dialogs::ids
