#pragma once

#include <QPushButton>

#include <functional>

namespace torvane {

// The Marnoft logo every window shows: a flat button that opens the maker's home page.
QPushButton* makeLogo(const std::function<void()>& open);

} // namespace torvane
