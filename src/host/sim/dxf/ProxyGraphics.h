#pragma once
// Proxy graphics: the drawing a proxy entity leaves behind for programs that cannot run its
// class (group 310 chunks of an ACAD_PROXY_ENTITY). The data is a little-endian list of
// primitives, each "size, type, data"; the emulator turns the polylines and texts among them
// into the proxy's parts (what exploding the proxy gives) and writes parts back the same way.
//
//   polyline (6), polygon (7), polyline with normals (32), lightweight polyline (33)
//       -> a polyline through the primitive's points, in world coordinates
//   text (10), text2 (11), Unicode text (36), Unicode text2 (38)
//       -> a multiline text: the text as its contents, the insertion point as its position
//   layer (16) -> the layer of the parts that follow; push/pop matrix (29, 31) -> the
//       transformation of the points that follow; every other primitive is skipped.
//
// A lightweight polyline record is the byte count of its fields followed by the fields
// bit-coded as the drawing format stores the entity (ProxyRecords.h tells them).
//
// Written back: lightweight polylines as lightweight polyline records, other polylines and
// lines as polyline primitives, texts and multiline texts as Unicode texts, a layer primitive
// before each part on another layer than the one before.

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "host/Objects.h"
#include "host/sim/dxf/Text.h"

namespace velmarin::host::sim::dxf {

struct ProxyGraphicsContext {
    // The drawing's layer names in table order (GBK): a layer primitive gives an index into it.
    const std::vector<std::string>* layers = nullptr;
    // The file's code page, for texts that are not Unicode.
    TextCodec codec;
    // A lightweight polyline record may count vertex ids (when flagged) from the 2010 format on.
    bool format2010 = false;
};

// The parts the graphics describe, in their order. A record that cannot be decoded (a count
// larger than its data) is skipped by its size; a record size that runs past the end ends the
// decoding, keeping what came before it.
std::vector<std::unique_ptr<Entity>> DecodeProxyGraphics(std::string_view data,
                                                         const ProxyGraphicsContext& context);

// The graphics of `parts`; `layerIndex` gives a layer's index in the written layer table, or
// -1 when the table has no such layer.
std::string EncodeProxyGraphics(const std::vector<std::unique_ptr<Entity>>& parts,
                                const std::function<int(const std::string&)>& layerIndex);

}  // namespace velmarin::host::sim::dxf
