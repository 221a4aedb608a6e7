#pragma once

#include <QIcon>
#include <QPushButton>

#include <functional>

namespace torvane {

// The Marnoft logo every window shows: a flat picture button that opens the maker's home
// page.
QPushButton* makeLogo(const std::function<void()>& open);

// The logo drawn sharp at the usual icon sizes, for the windows' icon.
QIcon logoIcon();

// The logo drawn sharp at that size (in device-independent pixels) on this screen.
QPixmap logoPicture(int size, qreal pixelRatio);

} // namespace torvane
