#pragma once
// The tree file the save and batch commands hand to the client, in the client's temp folder.

namespace velmarin::testing {

inline constexpr const char kTreeFile[] = "D:\\VORD\\temp\\sldTree.ini";

}  // namespace velmarin::testing
