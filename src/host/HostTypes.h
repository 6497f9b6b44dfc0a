#pragma once
// Basic types of the CAD host seam, shaped after the host SDK so that an adapter to the real host
// is a thin translation.

#include <cstdint>

namespace velmarin::host {

using ObjectId = std::uint64_t;
inline constexpr ObjectId kNullId = 0;

enum class OpenMode { ForRead, ForWrite };

// Host status codes: 0 is success.
enum ErrorStatus : int {
    eOk = 0,
    eNullObjectId = 5,
    eKeyNotFound = 6,
    eNotApplicable = 3,
    eInvalidInput = 4,
    eWasErased = 84,
    eWasOpenedForWrite = 88,
    eWasOpenedForRead = 87,
    eNotOpenForWrite = 90,
    eDuplicateRecordName = 102,
    eFileAccessErr = 9,
    eNoDatabase = 80,
    eCannotOpen = 83,
};

// Results of the editor functions (selection, entity names).
inline constexpr int RTNORM = 5100;
inline constexpr int RTERROR = -5001;
inline constexpr int RTCAN = -5002;

// The 2004 drawing format, the default save format the save command sets.
inline constexpr int kSaveFormat2004 = 24;

struct Point3 {
    double x = 0.0;
    double y = 0.0;
    double z = 0.0;
};

struct Extents {
    Point3 minPoint;
    Point3 maxPoint;
};

}  // namespace velmarin::host
