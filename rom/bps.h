#pragma once

// BPS patches: "BPS1", the source and target sizes and the metadata size as variable-length
// numbers, actions that build the target (SourceRead, TargetRead, SourceCopy, TargetCopy), and
// the CRC-32 of the source, the target and the patch, little-endian.

#include <cstdint>
#include <string>
#include <string_view>

namespace mipofc {

/// The BPS patch that turns source into target, with no metadata: unchanged runs as SourceRead,
/// changed bytes as TargetRead, or as SourceCopy or TargetCopy where a copy is smaller.
std::string BpsPatch(std::string_view source, std::string_view target);

}  // namespace mipofc
