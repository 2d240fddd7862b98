#!/usr/bin/env python3
"""Writes the SVG sources of the skin pictures into resources/skin/src/.

The SVGs are the editable sources of the pictures (tools/skin/render renders them to PNG).
This script is how they were first made and keeps the shared palette and shapes in one
place; re-run it after changing it, then render. Page pictures are transparent where nothing is drawn
(the window background's page area shows through) and carry the fixed words of their page at
the places where layout table 1 puts the controls.
"""
import math
import os
import sys

OUT = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), "../../resources/skin/src")

BG0, BG1 = "#0b0c0f", "#171a20"
FRAME = "#13151a"          # page area; the page pictures use it as their ground
GROUP = "#1a1d24"
LINE = "#2c3039"
TEXT = "#eceef2"
MUTED = "#8d929c"
RED, RED_HI, RED_DK = "#e3262e", "#ff4b53", "#99121a"
FONT = "DejaVu Sans"


def svg(w, h, body, defs=""):
    return (f'<svg xmlns="http://www.w3.org/2000/svg" width="{w}" height="{h}" viewBox="0 0 {w} {h}">\n'
            f'<defs>{defs}</defs>\n{body}\n</svg>\n')


def text(x, y, s, size=11, fill=TEXT, weight="normal", anchor="start", spacing=0, opacity=1):
    return (f'<text x="{x}" y="{y}" font-family="{FONT}" font-size="{size}" font-weight="{weight}" '
            f'fill="{fill}" text-anchor="{anchor}" letter-spacing="{spacing}" opacity="{opacity}">{s}</text>')


def grad(id_, top, bottom):
    return (f'<linearGradient id="{id_}" x1="0" y1="0" x2="0" y2="1">'
            f'<stop offset="0" stop-color="{top}"/><stop offset="1" stop-color="{bottom}"/></linearGradient>')


def write(name, content):
    with open(os.path.join(OUT, name + ".svg"), "w", encoding="utf-8") as f:
        f.write(content)


def group_frame(x, y, w, h, title):
    """A titled group: a faint panel with a red tick before its title."""
    return (f'<rect x="{x}" y="{y}" width="{w}" height="{h}" rx="6" fill="{GROUP}" stroke="{LINE}"/>'
            f'<rect x="{x + 12}" y="{y - 5}" width="3" height="10" fill="{RED}"/>'
            f'<rect x="{x + 18}" y="{y - 7}" width="{len(title) * 7.2 + 10}" height="14" fill="{FRAME}"/>'
            + text(x + 22, y + 4, title.upper(), 10, MUTED, "bold", spacing=1.2))


# ---- buttons in their three states ------------------------------------------------------

def button(w, h, state, radius=4):
    """state: normal, hover, pressed/selected."""
    d = grad("n", "#2c3038", "#1d2026") + grad("h", "#353a44", "#23262d") + grad("p", RED, RED_DK)
    fill, stroke = {"normal": ("url(#n)", "#3b404b"), "hover": ("url(#h)", RED),
                    "pressed": ("url(#p)", RED_HI)}[state]
    body = f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="{radius}" fill="{fill}" stroke="{stroke}"/>'
    if state != "pressed":
        body += f'<rect x="{radius}" y="1.5" width="{w - 2 * radius}" height="1" fill="#ffffff" opacity="0.06"/>'
    if state == "hover":
        body += f'<rect x="{w * 0.25}" y="{h - 3}" width="{w * 0.5}" height="2" rx="1" fill="{RED}"/>'
    return svg(w, h, body, d)


def nav_button(w, h, state):
    """Navigation and profile buttons: normal, selected, pointer over it."""
    d = grad("n", "#262a32", "#1a1c22") + grad("s", "#e8303a", "#a3141c") + grad("h", "#2f333d", "#22252c")
    if state == "selected":
        body = (f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="5" fill="url(#s)" stroke="{RED_HI}"/>'
                f'<rect x="6" y="1.5" width="{w - 12}" height="1" fill="#ffffff" opacity="0.25"/>')
    elif state == "hover":
        body = (f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="5" fill="url(#h)" stroke="{RED}"/>'
                f'<rect x="{w / 2 - 20}" y="{h - 4}" width="40" height="2" rx="1" fill="{RED}"/>')
    else:
        body = f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="5" fill="url(#n)" stroke="#363a44"/>'
    return svg(w, h, body, d)


def key_button(w, h, state):
    if state == "hover":
        body = (f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="{h / 2 - 1}" fill="#3a1518" stroke="{RED}"/>')
    elif state == "pressed":
        body = f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="{h / 2 - 1}" fill="{RED_DK}" stroke="{RED_HI}"/>'
    else:
        body = f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="{h / 2 - 1}" fill="#20232a" stroke="#434955"/>'
    return svg(w, h, body)


def web_button(state):
    w, h = 264, 21
    color = {"normal": MUTED, "pressed": RED_DK, "hover": RED_HI}[state]
    body = (f'<path d="M6 10.5 a4.5 4.5 0 1 0 9 0 a4.5 4.5 0 1 0 -9 0 M6 10.5 h9 M10.5 6 v9" fill="none" '
            f'stroke="{color}" stroke-width="1.2"/>'
            + text(22, 15, "www.quorvex-gaming.example/support", 11, color))
    if state == "hover":
        body += f'<rect x="22" y="17" width="222" height="1" fill="{RED_HI}"/>'
    return svg(w, h, body)


# ---- the window background ----------------------------------------------------------------

def background():
    d = (grad("bg", BG1, BG0) +
         '<radialGradient id="glow" cx="0.5" cy="0" r="0.7"><stop offset="0" stop-color="#3a0e12" stop-opacity="0.9"/>'
         '<stop offset="1" stop-color="#3a0e12" stop-opacity="0"/></radialGradient>'
         + grad("hdr", "#1d2027", "#121419"))
    b = [f'<rect width="800" height="600" fill="url(#bg)"/>',
         f'<rect width="800" height="300" fill="url(#glow)"/>',
         # header
         f'<rect width="800" height="86" fill="url(#hdr)"/>',
         f'<rect y="86" width="800" height="2" fill="{RED}"/>',
         f'<rect y="88" width="800" height="6" fill="{RED}" opacity="0.12"/>',
         # logo mark: a ring with a cut, the Q of the brand
         f'<circle cx="46" cy="43" r="17" fill="none" stroke="{RED}" stroke-width="5"/>',
         f'<path d="M52 49 L66 63" stroke="{RED}" stroke-width="6" stroke-linecap="round"/>',
         f'<circle cx="46" cy="43" r="6" fill="{TEXT}"/>',
         text(78, 48, "QUORVEX", 30, TEXT, "bold", spacing=4),
         text(80, 68, "GAMING MOUSE CONFIGURATOR", 10, MUTED, "bold", spacing=2.5),
         # header decoration: angled stripes at the right
         ''.join(f'<path d="M{640 + i * 22} 86 L{668 + i * 22} 0 L{676 + i * 22} 0 L{648 + i * 22} 86 Z" fill="{RED}" opacity="{0.06 + i * 0.03}"/>'
                 for i in range(6)),
         # left column behind Confirm / Apply / Reset / Exit
         f'<rect x="4" y="104" width="78" height="180" rx="8" fill="{GROUP}" stroke="{LINE}"/>',
         # page area
         f'<rect x="86" y="98" width="708" height="384" rx="10" fill="{FRAME}" stroke="{LINE}"/>',
         # row titles of the navigation and the profile-file buttons
         f'<rect x="10" y="492" width="3" height="20" fill="{RED}"/>',
         text(18, 506, "PAGES", 10, MUTED, "bold", spacing=1.5),
         f'<rect x="10" y="528" width="3" height="20" fill="{RED}"/>',
         text(18, 542, "PROFILE", 10, MUTED, "bold", spacing=1.5),
         # footer
         f'<rect y="566" width="800" height="1" fill="{LINE}"/>',
         text(790, 586, "Quorvex Gaming Mouse  ·  v1.0", 10, "#5d626c", anchor="end"),
         ''.join(f'<rect x="{12 + i * 9}" y="580" width="6" height="6" rx="1" fill="{RED}" opacity="{1 - i * 0.22}"/>' for i in range(4)),
         ]
    return svg(800, 600, "\n".join(b), d)


# ---- the four pages --------------------------------------------------------------------

def mouse_keys_page():
    w, h = 472, 379
    d = (grad("body", "#2b2f37", "#15171b") + grad("btn", "#343944", "#20232a") +
         '<radialGradient id="under" cx="0.5" cy="0.5" r="0.5"><stop offset="0" stop-color="#e3262e" stop-opacity="0.35"/>'
         '<stop offset="1" stop-color="#e3262e" stop-opacity="0"/></radialGradient>')
    cx = 236
    b = [text(8, 22, "BUTTON ASSIGNMENT", 10, MUTED, "bold", spacing=1.5),
         f'<rect x="8" y="28" width="40" height="2" fill="{RED}"/>',
         f'<ellipse cx="{cx}" cy="345" rx="110" ry="16" fill="url(#under)"/>',
         # body of the mouse, seen from above
         f'<path d="M{cx} 40 C{cx - 70} 40 {cx - 98} 90 {cx - 98} 160 C{cx - 98} 250 {cx - 80} 340 {cx} 340 '
         f'C{cx + 80} 340 {cx + 98} 250 {cx + 98} 160 C{cx + 98} 90 {cx + 70} 40 {cx} 40 Z" fill="url(#body)" stroke="#4a505c" stroke-width="1.5"/>',
         # left and right buttons
         f'<path d="M{cx - 4} 44 C{cx - 60} 46 {cx - 90} 88 {cx - 93} 150 L{cx - 4} 150 Z" fill="url(#btn)" stroke="#4f5561"/>',
         f'<path d="M{cx + 4} 44 C{cx + 60} 46 {cx + 90} 88 {cx + 93} 150 L{cx + 4} 150 Z" fill="url(#btn)" stroke="#4f5561"/>',
         # wheel and CPI button
         f'<rect x="{cx - 9}" y="70" width="18" height="42" rx="9" fill="#111317" stroke="#5a606c"/>',
         ''.join(f'<rect x="{cx - 6}" y="{76 + i * 6}" width="12" height="2" fill="#3d424c"/>' for i in range(6)),
         f'<rect x="{cx - 8}" y="124" width="16" height="20" rx="4" fill="#1b1d22" stroke="{RED}"/>',
         # side buttons on the left flank
         f'<rect x="{cx - 104}" y="168" width="10" height="30" rx="4" fill="#30343d" stroke="#5a606c"/>',
         f'<rect x="{cx - 104}" y="204" width="10" height="30" rx="4" fill="#30343d" stroke="#5a606c"/>',
         # light strip and logo
         f'<path d="M{cx - 60} 300 Q{cx} 330 {cx + 60} 300" fill="none" stroke="{RED}" stroke-width="3" opacity="0.9"/>',
         f'<circle cx="{cx}" cy="250" r="13" fill="none" stroke="{RED}" stroke-width="3"/>',
         f'<path d="M{cx + 4} 254 L{cx + 12} 262" stroke="{RED}" stroke-width="3" stroke-linecap="round"/>',
         ]
    # Leader lines from each button to where its label sits (layout table 1, page coordinates).
    leaders = [((cx - 52, 95), (84, 101), "1"), ((cx + 52, 95), (371, 101), "2"),
               ((cx, 91), (381, 161), "3"), ((cx, 134), (391, 221), "4"),
               ((cx - 99, 219), (84, 216), "5"), ((cx - 99, 183), (84, 181), "6")]
    for (bx, by), (lx, ly), n in leaders:
        mid = lx + (24 if lx < bx else -24)
        b.append(f'<path d="M{bx} {by} L{mid} {ly} L{lx} {ly}" fill="none" stroke="{RED}" stroke-width="1" opacity="0.7"/>')
        b.append(f'<circle cx="{bx}" cy="{by}" r="7" fill="{RED}"/>')
        b.append(text(bx, by + 3.5, n, 9, "#ffffff", "bold", "middle"))
        b.append(f'<circle cx="{lx}" cy="{ly}" r="2" fill="{RED}"/>')
    # The hint under the mouse is a label of the window (language tables, hidden on Reset Control).
    return svg(w, h, "\n".join(b), d)


def advanced_page():
    w, h = 700, 325
    ox, oy = 88, 144  # the page's place in the window (layout table 1)
    b = []
    # Windows settings: three ten-step scales at (136, 194), (136, 290), (136, 386).
    for title, y, lo, hi in [("Pointer speed", 194, "Slow", "Fast"), ("Double-click speed", 290, "Slow", "Fast"),
                             ("Scroll speed", 386, "1 line", "10 lines")]:
        py = y - oy
        b.append(group_frame(24, py - 28, 292, 70, title))
        b.append(text(48 - 4, py + 36, lo, 9, "#676c76"))
        b.append(text(136 - ox + 9 * 24 + 27, py + 36, hi, 9, "#676c76", anchor="end"))
    # DPI: eight levels at (535, 222), labels 28 pixels above.
    b.append(group_frame(380, 24, 300, 76, "DPI levels"))
    # The hint under the levels is a label of the window, in the language of the tables.
    # Report rate: marks at (486, 294) and (588, 294).
    b.append(group_frame(380, 122, 300, 56, "Report rate"))
    b.append(text(486 - ox + 24, 294 - oy + 13, "1000 Hz", 11, TEXT))
    b.append(text(588 - ox + 24, 294 - oy + 13, "500 Hz", 11, TEXT))
    # Fire keys: repeat edits at y 384, delay edits 22 lower, mode labels at y 430.
    b.append(group_frame(380, 206, 300, 106, "Fire key"))
    b.append(text(392, 384 - oy + 13, "Repeat", 10, MUTED))
    b.append(text(392, 406 - oy + 13, "Delay", 10, MUTED))
    b.append(text(392, 430 - oy + 11, "Modes", 10, MUTED))
    return svg(w, h, "\n".join(b))


def breathing_page():
    w, h = 620, 355
    ox, oy = 112, 128
    d = ""
    b = [# the light itself is a picture of its own (light_ring), which takes the chosen colour
         text(118, 175, "LIGHT", 14, TEXT, "bold", "middle", 3),
         text(118, 300, "Breathing and colour of the mouse light", 9, MUTED, anchor="middle")]
    # Timing: four ten-step scales at x 476, y 195, 226, 253, 278.
    b.append(group_frame(236, 44, 374, 136, "Light timing"))
    for title, y in [("Off time", 195), ("Rise time", 226), ("On time", 253), ("Fall time", 278)]:
        b.append(text(250, y - oy + 6, title, 10, MUTED))
    # Modes: marks at (352, 329), (476, 329), (582, 329).
    b.append(group_frame(236, 190, 374, 40, "Light mode"))
    for word, x in [("Random", 352), ("Colorful", 476), ("Custom", 582)]:
        b.append(text(x - ox + 22, 329 - oy + 13, word, 11, TEXT))
    # Colour sources: marks at (368, 379) and (556, 379); edits R, G, B below each.
    b.append(group_frame(236, 240, 374, 108, "Colour"))
    for word, x in [("Colour 1", 368), ("Colour 2", 556)]:
        b.append(text(x - ox + 22, 379 - oy + 13, word, 11, TEXT))
    for ex in (390, 578):
        for i, c in enumerate("RGB"):
            b.append(text(ex - ox - 14, 400 - oy + 13 + 22 * i, c, 10, MUTED, "bold"))
    return svg(w, h, "\n".join(b), d)


def light_ring():
    # The glowing ring of the Breathing Page, centred on (118, 170) of the page picture. Its
    # brightness is what a tint keeps, so it shows any colour the light is given.
    w = h = 192
    c = 96
    d = ('<radialGradient id="halo" cx="0.5" cy="0.5" r="0.5"><stop offset="0.55" stop-color="#e3262e" stop-opacity="0"/>'
         '<stop offset="0.8" stop-color="#e3262e" stop-opacity="0.55"/><stop offset="1" stop-color="#e3262e" stop-opacity="0"/></radialGradient>')
    b = [f'<circle cx="{c}" cy="{c}" r="96" fill="url(#halo)"/>',
         f'<circle cx="{c}" cy="{c}" r="62" fill="none" stroke="{RED}" stroke-width="4"/>',
         f'<circle cx="{c}" cy="{c}" r="48" fill="none" stroke="{RED}" stroke-width="1" opacity="0.5"/>']
    return svg(w, h, "\n".join(b), d)


def macro_page():
    w, h = 600, 346
    ox, oy = 112, 136
    b = [group_frame(10, 24, 222, 150, "Macros"),
         group_frame(236, 24, 242, 312, "Macro content"),
         group_frame(10, 186, 222, 150, "Delay")]
    # Delay choices inside Gb_Delay at (128, 314): marks at (20, 36 + 23 n), edit at (137, 56).
    gx, gy = 128 - ox, 314 - oy
    for i, word in enumerate(["Record delay", "Default delay", "No delay"]):
        b.append(text(gx + 20 + 22, gy + 36 + 23 * i + 13, word, 10, TEXT))
    b.append(text(gx + 137 + 48, gy + 56 + 13, "ms", 10, MUTED))
    return svg(w, h, "\n".join(b))


def insert_base(title):
    w, h = 207, 162
    # The insert choice box at the top names the panel; the picture carries no title of its own.
    accent = RED if title == "Insert delay" else "#c9ccd3"
    b = (f'<rect x="0.5" y="0.5" width="{w - 1}" height="{h - 1}" rx="6" fill="{GROUP}" stroke="{RED}"/>'
         f'<rect x="10" y="8" width="3" height="12" fill="{accent}"/>')
    # The choices of the insert box carry their own captions.
    return svg(w, h, b)


# ---- small pictures ---------------------------------------------------------------------

def radio(on):
    body = f'<circle cx="8.5" cy="9" r="7" fill="#15171b" stroke="{RED if on else "#59606c"}" stroke-width="1.5"/>'
    if on:
        body += f'<circle cx="8.5" cy="9" r="3.8" fill="{RED}"/>'
    return svg(17, 18, body)


def bar(w, on):
    return svg(w, 4, f'<rect width="{w}" height="4" rx="1" fill="{RED if on else "#3a3f49"}"/>')


def icon():
    d = grad("g", "#2a2d35", "#101114")
    body = (f'<rect x="2" y="2" width="60" height="60" rx="14" fill="url(#g)" stroke="{RED}" stroke-width="2"/>'
            f'<circle cx="30" cy="30" r="15" fill="none" stroke="{RED}" stroke-width="5"/>'
            f'<path d="M36 36 L47 47" stroke="{RED}" stroke-width="6" stroke-linecap="round"/>'
            f'<circle cx="30" cy="30" r="5" fill="{TEXT}"/>')
    return svg(64, 64, body, d)


def wait_frame(k, count=12):
    w, h = 200, 192
    cx, cy = 100, 84
    b = [f'<rect x="10" y="10" width="180" height="172" rx="18" fill="#15171c" stroke="{LINE}" stroke-width="2"/>']
    for i in range(count):
        a = 2 * math.pi * i / count - math.pi / 2
        age = (k - i) % count
        op = max(0.12, 1 - age / 7)
        x1, y1 = cx + 26 * math.cos(a), cy + 26 * math.sin(a)
        x2, y2 = cx + 44 * math.cos(a), cy + 44 * math.sin(a)
        color = RED if age < 3 else "#c9ccd3"
        b.append(f'<line x1="{x1:.1f}" y1="{y1:.1f}" x2="{x2:.1f}" y2="{y2:.1f}" stroke="{color}" stroke-width="7" '
                 f'stroke-linecap="round" opacity="{op:.2f}"/>')
    b.append(text(100, 160, "Please wait", 13, TEXT, "bold", "middle", 1))
    return svg(w, h, "\n".join(b))


def event_icon(kind):
    if kind == "delay":
        body = (f'<circle cx="12" cy="12" r="9" fill="none" stroke="#c9ccd3" stroke-width="2"/>'
                f'<path d="M12 7 V12 L15.5 14" fill="none" stroke="#c9ccd3" stroke-width="2" stroke-linecap="round"/>')
    elif kind == "press":
        body = (f'<rect x="3" y="3" width="18" height="18" rx="4" fill="{RED}"/>'
                f'<path d="M12 6 V16 M7.5 11.5 L12 16 L16.5 11.5" fill="none" stroke="#fff" stroke-width="2.2" stroke-linecap="round" stroke-linejoin="round"/>')
    else:
        body = (f'<rect x="3" y="3" width="18" height="18" rx="4" fill="none" stroke="#6fbf73" stroke-width="2"/>'
                f'<path d="M12 18 V8 M7.5 12.5 L12 8 L16.5 12.5" fill="none" stroke="#6fbf73" stroke-width="2.2" stroke-linecap="round" stroke-linejoin="round"/>')
    return svg(24, 24, body)


def dialog_back():
    w, h = 355, 180
    d = grad("g", "#23262e", "#15171b")
    body = (f'<rect x="1" y="1" width="{w - 2}" height="{h - 2}" rx="12" fill="url(#g)" stroke="{RED}" stroke-width="2"/>'
            f'<rect x="14" y="52" width="{w - 28}" height="1" fill="{LINE}"/>'
            f'<path d="M324 14 L338 28 M338 14 L324 28" stroke="{MUTED}" stroke-width="2" stroke-linecap="round"/>'
            f'<rect x="44" y="134" width="97" height="30" rx="5" fill="none" stroke="#3b404b"/>'
            f'<rect x="196" y="134" width="97" height="30" rx="5" fill="none" stroke="#3b404b"/>')
    return svg(w, h, body, d)


def dialog_highlight():
    d = grad("p", RED, RED_DK)
    return svg(97, 30, f'<rect x="0.5" y="0.5" width="96" height="29" rx="5" fill="url(#p)" stroke="{RED_HI}"/>', d)


def placeholder():
    return svg(23, 4, f'<rect width="23" height="4" fill="{FRAME}"/>')


def main():
    os.makedirs(OUT, exist_ok=True)
    write("L1_BackGround", background())
    write("L1_Back1", mouse_keys_page())
    write("L1_Back2", advanced_page())
    write("L1_Back3", breathing_page())
    write("L1_Back4", macro_page())
    write("LightRing", light_ring())
    for s in (2, 3):
        for n in ["BackGround", "Back1", "Back2", "Back3", "Back4"]:
            write(f"L{s}_{n}", placeholder())
    for i, st in enumerate(["normal", "hover", "pressed"], 1):
        write(f"BtnS_0{i}", button(66, 30, st))
        write(f"MacroS_0{i}", button(80, 25, st))
        write(f"MacroBtnS_0{i}", button(40, 25, st))
        write(f"KeyS_0{i}", key_button(97, 30, st))
    for i, st in enumerate(["normal", "selected", "hover"], 1):
        write(f"SetS_0{i}", nav_button(127, 36, st))
    for i, st in enumerate(["normal", "pressed", "hover"], 1):
        write(f"WebS_0{i}", web_button(st))
    write("RdS_D", radio(False))
    write("RdS_E", radio(True))
    write("Bar1_D", bar(23, False))
    write("Bar1_E", bar(23, True))
    write("Bar2_D", bar(20, False))
    write("Bar2_E", bar(20, True))
    write("InsertDelayBase", insert_base("Insert delay"))
    write("InsertKeyBase", insert_base("Insert key"))
    write("MAINICON", icon())
    for k in range(12):
        write(f"Wait_{k + 1:02d}", wait_frame(k))
    for kind in ("delay", "press", "release"):
        write(f"Event_{kind.capitalize()}", event_icon(kind))
    write("DialogBack", dialog_back())
    write("DialogHighlight", dialog_highlight())


if __name__ == "__main__":
    main()
