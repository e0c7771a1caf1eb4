// Fills the code-page seam of ICBSString with the system's own converters, so that ToCodePage and
// FromCodePage handle every code page Windows knows (the ANSI and OEM code pages included).
#pragma once

// Installs the converter; calling it again does nothing more. The launcher calls it once at start.
void UseSystemCodePages();
