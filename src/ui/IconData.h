#pragma once

#include <cstddef>

class QImage;

namespace quillmarsh {

// The program's icon, a 32 x 32, 32-bit picture in icon-file form; shown in the window's caption
// and in the notification area.
inline constexpr std::size_t kProgramIconSize = 4286;
extern const unsigned char kProgramIcon[kProgramIconSize];

// Decodes one-image icon-file bytes of 32 bits per pixel; a null image for anything else.
QImage ImageFromIconFile(const unsigned char* data, std::size_t size);

} // namespace quillmarsh
