#pragma once

#include <QIcon>
#include <QPixmap>
#include <QSize>

// The program's own pictures, all drawn here with QPainter so that they scale to any size and
// device pixel ratio and need no image files.
namespace vsolo::pictures {

// The picture buttons' faces.
enum class FaceState { Up, Down, Focused };

// The program's icon: a clock face with a check mark, from 16 to 256 pixels.
QIcon programIcon();
// The same with a red dot in its lower right corner: the tray's sign that tracking runs.
QIcon trackingIcon();

// The toolbar picture of a command, or a null icon for a command that has none.
QIcon commandIcon(int command);

// The clock animation of the main view: 11 faces while tracking, 10 while idle. The index is taken
// round the cycle, so that a caller may simply count up.
int clockFaceCount(bool tracking);
QPixmap clockFace(bool tracking, int index, int size = 32, qreal devicePixelRatio = 1.0);

// The STOP and DETAIL buttons of the floating tracking window. All faces have the same size, so a
// button never changes size between states.
QSize faceSize();
QPixmap stopFace(FaceState state, qreal devicePixelRatio = 1.0);
QPixmap detailFace(FaceState state, qreal devicePixelRatio = 1.0);

// The picture beside "to start at …": an arrow pointing to a clock.
QSize startFromLastSize();
QPixmap startFromLastPicture(qreal devicePixelRatio = 1.0);

// The picture of the tip of the day: a lit light bulb.
QSize tipPictureSize();
QPixmap tipPicture(qreal devicePixelRatio = 1.0);

// The 16 x 16 pictures of the level editor's tree.
enum class LevelPicture { Level2, Level1Active, Level1Removed };
QPixmap levelPicture(LevelPicture which, qreal devicePixelRatio = 1.0);

} // namespace vsolo::pictures
