// hatch/failure.h: the one notice of a failed hatch generation, sent through the process-wide
// handler that setHatchFailureHandler installs (pattern.h). Internal to hatch/.
#pragma once

namespace veltcore::hatch {

// The user-facing texts of the notice, byte for byte.
inline constexpr const char* kFailureTitle = "Errore";
inline constexpr const char* kFailureText =
    "L'algoritmo di hatching ha fallito!!!\n\nSalvare il progetto e comunicare l'errore";

// Calls the installed handler once with the title and the text. Whatever the handler throws
// passes on to the caller.
void reportHatchFailure();

}  // namespace veltcore::hatch
