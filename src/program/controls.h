#pragma once
// Every control of the two windows by what it is, bound once to its designer id: the name
// the windows' behaviour is specified in, which the test log also writes. One line each, so
// a search finds either from the other.
namespace vorlane::controls {

inline constexpr const char* titleLabel = "透明标签1";
inline constexpr const char* experienceNewestCaption = "透明标签2";
inline constexpr const char* liveNewestCaption = "透明标签3";
inline constexpr const char* experienceNewestVersionLabel = "透明标签4";
inline constexpr const char* liveNewestVersionLabel = "透明标签5";
inline constexpr const char* experienceVersionCaption = "透明标签6";
inline constexpr const char* liveVersionCaption = "透明标签7";
inline constexpr const char* warningLabel = "透明标签8";
inline constexpr const char* musicCaption = "透明标签9";
inline constexpr const char* ipAddressLabel = "透明标签10";
inline constexpr const char* ownVersionCaption = "透明标签11";
inline constexpr const char* chooseMusicLink = "透明标签12";
inline constexpr const char* ownVersionLabel = "透明标签13";
inline constexpr const char* newestReleaseCaption = "透明标签14";
inline constexpr const char* newestReleaseLabel = "透明标签15";
inline constexpr const char* launcherStateLabel = "透明标签16";
inline constexpr const char* restoreLauncherLink = "透明标签17";
inline constexpr const char* desktopShortcutLink = "透明标签18";
inline constexpr const char* musicPathFrame = "图形按钮1";
inline constexpr const char* switchButton = "图形按钮2";
inline constexpr const char* fullScreenButton = "图形按钮3";
inline constexpr const char* experienceVersionFrame = "图形按钮4";
inline constexpr const char* liveVersionFrame = "图形按钮5";
inline constexpr const char* minimiseButton = "图形按钮6";
inline constexpr const char* closeButton = "图形按钮7";
inline constexpr const char* installMusicButton = "图形按钮8";
inline constexpr const char* restoreMusicButton = "图形按钮9";
inline constexpr const char* startGameButton = "图形按钮10";
inline constexpr const char* officialSiteButton = "图形按钮11";
inline constexpr const char* playMusicToggle = "图形按钮12";
inline constexpr const char* experienceVersionBox = "编辑框1";
inline constexpr const char* liveVersionBox = "编辑框2";
inline constexpr const char* musicPathBox = "编辑框3";
inline constexpr const char* liveVersionHeadTemplate = "编辑框4";
inline constexpr const char* liveDirServersTemplate = "编辑框5";
inline constexpr const char* liveVersionServersTemplate = "编辑框6";
inline constexpr const char* liveServerChoiceTemplate = "编辑框7";
inline constexpr const char* experienceServerChoiceTemplate = "编辑框8";
inline constexpr const char* experienceVersionServersTemplate = "编辑框9";
inline constexpr const char* experienceDirServersTemplate = "编辑框10";
inline constexpr const char* experienceVersionHeadTemplate = "编辑框11";
inline constexpr const char* liveVersionMiddleTemplate = "编辑框12";
inline constexpr const char* experienceVersionMiddleTemplate = "编辑框13";
inline constexpr const char* liveChoice = "单选框1";
inline constexpr const char* experienceChoice = "单选框2";
inline constexpr const char* warningBand = "图片框1";
inline constexpr const char* previewArea = "图片框2";
inline constexpr const char* previewFrame = "图片框3";
inline constexpr const char* versionTimer = "时钟1";
inline constexpr const char* loadingPicture = "动画物体1";
inline constexpr const char* previewBox = "动画框1";
inline constexpr const char* musicFileDialog = "通用对话框1";

}  // namespace vorlane::controls

// The full-screen preview window, whose designer ids repeat three of the main window's.
namespace vorlane::preview_controls {

inline constexpr const char* closeButton = "图形按钮3";
inline constexpr const char* pictureBox = "动画框1";
inline constexpr const char* picture = "动画物体1";

}  // namespace vorlane::preview_controls
