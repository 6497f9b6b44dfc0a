#pragma once
// Writing group-code/value pairs in the style of a DXF file: its version decides which
// subclass markers and entity forms exist, its code page how texts are stored, and new pairs
// take the line ends and group-code layout of the pairs around them.

#include <cstdint>
#include <string>
#include <string_view>

#include "host/HostTypes.h"
#include "host/sim/dxf/Text.h"

namespace velmarin::host::sim::dxf {

struct DxfFormat {
    std::string version = "AC1015";  // $ACADVER
    TextCodec codec;
    std::string lineEnd = "\r\n";
    bool padCodes = true;  // group codes right-aligned in three columns
    bool handles = true;   // entities carry handles (group 5)

    // Subclass markers (group 100) and owner handles (group 330), from release 13 on.
    bool subclassMarkers() const { return version >= "AC1012"; }
    bool lightweightPolylines() const { return version >= "AC1014"; }
    bool proxyEntities() const { return version >= "AC1012"; }
    bool format2010() const { return version >= "AC1024"; }
    // From the 2013 format on, the size of proxy graphics is group 160 instead of 92.
    bool format2013() const { return version >= "AC1027"; }
};

class DxfOut {
  public:
    DxfOut(std::string& out, const DxfFormat& format) : out_(out), format_(format) {}

    const DxfFormat& format() const { return format_; }
    std::string& buffer() { return out_; }

    // A value already in the file's bytes.
    void raw(int code, std::string_view value);
    void text(int code, const std::string& gbk) { raw(code, format_.codec.fromGbk(gbk)); }
    void number(int code, double value);
    void integer(int code, std::int64_t value);
    // x, y and z under `code`, `code` + 10 and `code` + 20.
    void point(int code, const Point3& p);
    void handle(int code, const std::string& handle) {
        if (format_.handles && !handle.empty()) raw(code, handle);
    }
    // Binary data as group-310 style chunks of hex digits, 127 bytes each.
    void binary(int code, std::string_view bytes);
    // Makes sure what follows starts on a line of its own.
    void endLine();

  private:
    std::string& out_;
    const DxfFormat& format_;
};

std::string NumberText(double value);

}  // namespace velmarin::host::sim::dxf
