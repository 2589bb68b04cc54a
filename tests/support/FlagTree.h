#pragma once
// A tree text for the filter tests of both programs: the radio with one node
// for each filter flag 0 to 7 and one with none, then the channel memory with
// whatever attributes and nodes a test adds.
#include <string>

namespace testsupport {

inline std::string FlagTree(const std::string& memoryAttributes, const std::string& memoryNodes = {}) {
    std::string tree =
        "#GI_Tree_Main_BasicCell\n{}\n#GI_Tree_Main_Body\n+Radio{(%CL_Null:Fx_Radio)(ImageIndex=0)}\n";
    for (int flag = 0; flag < 8; ++flag) {
        const std::string n = std::to_string(flag);
        tree += " +F" + n + "{(%CL_Null:Fx_F" + n + ")(Flag" + n + "=1)}\n";
    }
    tree += " +None{(%CL_Null:Fx_None)}\n";
    tree += "+Channel memory{(%CL_Null:GI_Sheet_Memory_CH_Top)(ImageIndex=1)" + memoryAttributes + "}\n";
    return tree + memoryNodes;
}

} // namespace testsupport
