#pragma once
// Fontconfig reads its configuration and font caches the first time text is measured, which is
// in the first paint; started on a thread of its own at the start of main, that reading happens
// while Qt connects to the display instead.
namespace qtui {

void loadFontConfigurationAhead();

}  // namespace qtui
