#pragma once

#include <QIcon>
#include <QPushButton>

#include <functional>

namespace torvane {

// The Marnoft logo every window shows: a flat picture button that opens the maker's home
// page. Its picture is made when the button is first painted, at the size it is shown.
QPushButton* makeLogo(const std::function<void()>& open);

// The windows' icon: the logo at the usual icon sizes, drawn when the program was built,
// and at any other size it is asked for.
QIcon logoIcon();

// The logo drawn sharp at that size (in device-independent pixels) on this screen.
QPixmap logoPicture(int size, qreal pixelRatio);

} // namespace torvane
