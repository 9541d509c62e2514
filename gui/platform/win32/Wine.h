// Whether this process runs under Wine, where some drawing paths cost far less than Windows'
// usual ones (see docs/wine.md).
#pragma once

namespace gui {
namespace platform {

// True where ntdll exports wine_get_version.
bool runsUnderWine();

}  // namespace platform
}  // namespace gui
