#pragma once
// Whether the desktop blends translucent windows. Plain X11 without a compositing manager shows
// a translucent window's clear pixels as black; such windows need a shape instead.
namespace qtui {

bool desktopBlendsWindows();

}  // namespace qtui
