#include "ResultCheck.h"

#include "RenderSystem.h"
#include "engine/foundation/MessageManager.h"
#include "engine/foundation/StringUtils.h"

#include <algorithm>
#include <array>
#include <string_view>

namespace KeystrelEngine {

namespace {

struct ResultText
{
    std::uint32_t code;
    std::string_view text;
};

// Sorted by code.
constexpr std::array<ResultText, 117> kResultTexts = {{
    {0x80004001, "The operation is not supported."},
    {0x80004005, "There is an undefined error condition."},
    {0x800401F0, "The object was used before it was initialized."},
    {0x8007000E, "DirectDraw does not have enough memory to perform the operation."},
    {0x80070057, "One or more of the parameters passed to the method are incorrect."},
    {0x88760005, "The object has already been initialized."},
    {0x8876000A, "The surface cannot be attached to the requested surface."},
    {0x88760014, "The surface cannot be detached from the requested surface."},
    {0x88760028, "No support is currently available for the operation."},
    {0x88760037, "An exception was raised while the operation was carried out."},
    {0x8876005A, "The height of the rectangle is not a multiple of the required alignment."},
    {0x8876005F, "The primary surface's format does not match the existing primary surface."},
    {0x88760064, "One or more of the capability bits passed are incorrect."},
    {0x8876006E, "DirectDraw does not support the given clip list."},
    {0x88760078, "DirectDraw does not support the requested display mode."},
    {0x88760082, "The object pointer passed is not a valid DirectDraw object."},
    {0x88760091, "The given pixel format is invalid."},
    {0x88760096, "The given rectangle is invalid."},
    {0x887600A0, "The operation cannot proceed because one or more surfaces are locked."},
    {0x887600AA, "There is no 3D hardware present."},
    {0x887600B4, "No alpha acceleration hardware is present or available."},
    {0x887600B5, "There is no stereo hardware present or available."},
    {0x887600B6, "There is no hardware present that supports stereo surfaces."},
    {0x887600CD, "No clip list is available."},
    {0x887600D2, "No hardware is present or available for colour conversion."},
    {0x887600D4, "The cooperative level has not been set before the call that needs it."},
    {0x887600D7, "The surface does not have a colour key."},
    {0x887600DC, "There is no hardware support for the destination colour key."},
    {0x887600DE, "DirectDraw support is not available with the current display driver."},
    {0x887600E1,
     "The operation requires the application to have exclusive mode, but the application does not have exclusive "
     "mode."},
    {0x887600E6, "Flipping visible surfaces is not supported."},
    {0x887600F0, "No GDI is present."},
    {0x887600FA, "No mirroring hardware is present or available."},
    {0x887600FF, "The requested item was not found."},
    {0x88760104, "No overlay hardware is present or available."},
    {0x8876010E, "The source and destination rectangles overlap on the same surface."},
    {0x88760118, "No suitable raster operation hardware is present or available."},
    {0x88760122, "No rotation hardware is present or available."},
    {0x88760136, "There is no hardware support for stretching."},
    {0x8876013C, "The surface is not a 4-bit colour palette surface."},
    {0x8876013D, "The surface is not a 4-bit colour index palette surface."},
    {0x88760140, "The surface is not an 8-bit colour surface."},
    {0x8876014A, "The operation cannot be carried out because there is no texture-mapping hardware."},
    {0x8876014F, "There is no hardware support for vertical blank synchronized operations."},
    {0x88760154, "There is no Z-buffer hardware support."},
    {0x8876015E, "The overlay surfaces cannot be Z-layered without hardware support."},
    {0x88760168, "The hardware needed for the operation has already been allocated."},
    {0x8876017C, "DirectDraw does not have enough display memory to perform the operation."},
    {0x8876017E, "The hardware does not support clipped overlays."},
    {0x88760180, "Only one colour key can be active on an overlay at a time."},
    {0x88760183, "Access to the palette is refused because it is locked by another thread."},
    {0x88760190, "No source colour key is specified for the operation."},
    {0x8876019A, "The surface is already attached to the surface it is being attached to."},
    {0x887601A4, "The surface is already a dependency of the surface it is being made a dependency of."},
    {0x887601AE, "Access to the surface is refused because it is locked by another thread."},
    {0x887601B3, "Access to the surface is refused because an attempt was made to lock the primary surface without "
                 "display memory access."},
    {0x887601B8, "Access to the surface is refused because it is obscured."},
    {0x887601C2,
     "Access to the surface is refused because the surface memory is gone. Call the IDirectDrawSurface7::Restore "
     "method on this surface to restore the memory associated with it."},
    {0x887601CC, "The requested surface is not attached."},
    {0x887601D6, "The requested height is too large."},
    {0x887601E0, "The requested size is too large."},
    {0x887601EA, "The requested width is too large."},
    {0x887601FE, "The pixel format is not supported by DirectDraw."},
    {0x88760208, "The bitmask in the pixel format is not supported by DirectDraw."},
    {0x88760209, "The given stream contains invalid data."},
    {0x88760219, "A vertical blank is in progress."},
    {0x8876021C, "The previous blit operation that is transferring information to or from this surface is "
                 "incomplete."},
    {0x8876021E, "The surface needs to be a complex surface for this operation."},
    {0x88760230, "The rectangle's position is not aligned as the hardware requires."},
    {0x88760231, "The GUID passed to the DirectDraw creation is not a valid DirectDraw driver identifier."},
    {0x88760232, "A DirectDraw object representing this driver has already been created for this process."},
    {0x88760233, "Hardware-only DirectDraw object creation is not possible: the driver does not support any "
                 "hardware."},
    {0x88760234, "This process has already created a primary surface."},
    {0x88760235, "Software emulation is not available."},
    {0x88760236, "The region passed to the clipper is too small."},
    {0x88760237, "The clip list cannot be set while the clipper is watching a window."},
    {0x88760238, "No clipper object is attached to the surface."},
    {0x88760239, "Clipper notification requires a window handle, or no window handle has been set as the "
                 "cooperative level window."},
    {0x8876023A, "DirectDraw cannot restore the window because its window procedure has been subclassed."},
    {0x8876023B, "The cooperative level window handle has already been set and cannot be reset while the process "
                 "has surfaces or palettes."},
    {0x8876023C, "No palette object is attached to the surface."},
    {0x8876023D, "There is no hardware support for 16-colour or 256-colour palettes."},
    {0x8876023E, "A fast blit cannot be used because a clipper is attached to the destination surface."},
    {0x8876023F, "No blitter hardware is present."},
    {0x88760240, "No DirectDraw raster operation hardware is available."},
    {0x88760241, "The overlay cannot be positioned because it is hidden."},
    {0x88760242, "The overlay cannot be positioned because it has no destination."},
    {0x88760243, "The position of the overlay on the destination is no longer valid."},
    {0x88760244, "The operation was tried on a surface that is not an overlay."},
    {0x88760245, "An attempt was made to set the cooperative level when it was already set to exclusive."},
    {0x88760246, "The surface being flipped is not part of a flipping chain."},
    {0x88760247, "Primary and 3D surfaces, and surfaces that are implicitly created, cannot be duplicated."},
    {0x88760248, "An attempt was made to unlock a surface that was not locked."},
    {0x88760249, "A device context could not be created for the surface."},
    {0x8876024A, "No device context was ever created for this surface."},
    {0x8876024B, "This surface cannot be restored because it was created in a different mode."},
    {0x8876024C, "The surface cannot be restored because it was created implicitly with another surface."},
    {0x8876024D, "The surface is not palette-based."},
    {0x8876024E, "The display is currently in a mode that is not supported."},
    {0x8876024F, "There is no hardware support for mipmapped textures."},
    {0x88760250, "The surface was of the wrong type for the operation."},
    {0x88760258, "The device does not support optimized surfaces."},
    {0x88760259, "The surface is an optimized surface that has not yet been given memory."},
    {0x8876025A, "A focus window was needed for the operation but none has been set."},
    {0x8876026C, "A device context has already been returned for this surface; only one can be retrieved."},
    {0x88760276, "The driver does not support non-local video memory."},
    {0x88760280, "An attempt to page-lock the surface failed."},
    {0x88760294, "An attempt to page-unlock the surface failed."},
    {0x887602A8, "An attempt was made to page-unlock a surface that had no outstanding page locks."},
    {0x887602B2, "More data is available than the given buffer can hold."},
    {0x887602B3, "The data has expired and is no longer valid."},
    {0x887602B4, "The video mode test has finished."},
    {0x887602B5, "The display mode being tested is a new mode."},
    {0x887602B7, "The video port is not active."},
    {0x887602B8, "No monitor information is available for the display."},
    {0x887602B9, "The driver does not support the operation."},
    {0x887602BB, "The surface was created by another device and cannot be used with this one."},
}};

static_assert(std::is_sorted(kResultTexts.begin(), kResultTexts.end(),
                             [](const ResultText& a, const ResultText& b) { return a.code < b.code; }));

} // namespace

std::string GetResultText(std::int32_t code)
{
    const auto key = static_cast<std::uint32_t>(code);
    const auto found =
        std::lower_bound(kResultTexts.begin(), kResultTexts.end(), key,
                         [](const ResultText& entry, std::uint32_t value) { return entry.code < value; });
    if (found != kResultTexts.end() && found->code == key)
        return std::string(found->text);
    return "Unknown error (Code: " + FormatInt(code) + ")";
}

void CheckResult(std::string_view context, std::int32_t code, const RenderSystem* renderSystem)
{
    if (code >= 0)
        return;
    renderSystem->GetLog()->Error("Direct3D Subsystem (" + std::string(context) + "): " + GetResultText(code));
}

} // namespace KeystrelEngine
