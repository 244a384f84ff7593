// Every platform log record the tool emits, as data: the source file, the
// operation and the message number that the record names. Log readers key on
// these three, so they are fixed here, apart from the code: a record keeps its
// place name wherever the code that emits it moves.
#pragma once

struct LogPoint {
    const char* file;
    const char* operation;
    int number;
};

namespace logpoint {

// Separation driver
inline constexpr LogPoint kProviderPath{"JsonTool.cpp", "GetJsonProviderFilePath", 191};
inline constexpr LogPoint kRunPath{"JsonTool.cpp", "SeparateJsonFile", 198};
inline constexpr LogPoint kPrepare{"JsonTool.cpp", "SeparateJsonFile", 280};
inline constexpr LogPoint kDontCopy{"JsonTool.cpp", "SeparateJsonFile", 298};
inline constexpr LogPoint kPrepareEnd{"JsonTool.cpp", "SeparateJsonFile", 461};
inline constexpr LogPoint kFound{"JsonTool.cpp", "m_FlagCheckItemInList", 520};
inline constexpr LogPoint kGroupsEmpty{"JsonTool.cpp", "m_ModifyGroupItemsList", 531};
inline constexpr LogPoint kGroupKeep{"JsonTool.cpp", "m_ModifyGroupItemsList", 540};
inline constexpr LogPoint kGroupRemove{"JsonTool.cpp", "m_ModifyGroupItemsList", 545};

// Queries
inline constexpr LogPoint kFindNull{"JsonParser.cpp", "FindJsonPathResult", 66};
inline constexpr LogPoint kListKeyNull{"JsonParser.cpp", "PaserMenuJsonFile", 85};
inline constexpr LogPoint kListKey{"JsonParser.cpp", "PaserMenuJsonFile", 89};
inline constexpr LogPoint kListReadErr{"JsonParser.cpp", "PaserMenuJsonFile", 93};
inline constexpr LogPoint kListNoSubmenu{"JsonParser.cpp", "PaserMenuJsonFile", 100};
inline constexpr LogPoint kListNotArray{"JsonParser.cpp", "PaserMenuJsonFile", 108};
inline constexpr LogPoint kListAdd{"JsonParser.cpp", "PaserMenuJsonFile", 121};
inline constexpr LogPoint kConvertFailed{"JsonParser.cpp", "m_ConvertToListNode", 137};
inline constexpr LogPoint kConvertEmpty{"JsonParser.cpp", "m_ConvertToListNode", 143};
inline constexpr LogPoint kConvertAdd{"JsonParser.cpp", "m_ConvertToListNode", 154};
inline constexpr LogPoint kGroupMissing{"JsonParser.cpp", "PaserMenuTreeGroupFile", 170};
inline constexpr LogPoint kGroupChecking{"JsonParser.cpp", "PaserMenuTreeGroupFile", 174};
inline constexpr LogPoint kGroupNotArray{"JsonParser.cpp", "PaserMenuTreeGroupFile", 178};
inline constexpr LogPoint kGroupNumber{"JsonParser.cpp", "PaserMenuTreeGroupFile", 184};
inline constexpr LogPoint kGroupMenuNull{"JsonParser.cpp", "PaserMenuTreeGroupFile", 188};
inline constexpr LogPoint kGroupTooMany{"JsonParser.cpp", "PaserMenuTreeGroupFile", 194};
inline constexpr LogPoint kGroupLevel{"JsonParser.cpp", "PaserMenuTreeGroupFile", 208};
inline constexpr LogPoint kGroupLevelInvalid{"JsonParser.cpp", "PaserMenuTreeGroupFile", 215};
inline constexpr LogPoint kGroupItemsResult{"JsonParser.cpp", "PaserMenuTreeGroupFile", 222};
inline constexpr LogPoint kGroupItemsInvalid{"JsonParser.cpp", "PaserMenuTreeGroupFile", 229};
inline constexpr LogPoint kGroupEnd{"JsonParser.cpp", "PaserMenuTreeGroupFile", 234};
inline constexpr LogPoint kLastNull{"JsonParser.cpp", "RemoveLastChar", 242};
inline constexpr LogPoint kLastLenError{"JsonParser.cpp", "RemoveLastChar", 250};
inline constexpr LogPoint kLastString{"JsonParser.cpp", "RemoveLastChar", 255};
inline constexpr LogPoint kFirstLastNull{"JsonParser.cpp", "RemoveFirstLastChar", 264};
inline constexpr LogPoint kFirstLastLenError{"JsonParser.cpp", "RemoveFirstLastChar", 272};
inline constexpr LogPoint kFirstLastString{"JsonParser.cpp", "RemoveFirstLastChar", 277};
inline constexpr LogPoint kModifyNull{"JsonParser.cpp", "PaserModifyItem", 286};
inline constexpr LogPoint kModifyFailed{"JsonParser.cpp", "PaserModifyItem", 296};
inline constexpr LogPoint kModifyLenError{"JsonParser.cpp", "PaserModifyItem", 306};
inline constexpr LogPoint kModifyString{"JsonParser.cpp", "PaserModifyItem", 312};
inline constexpr LogPoint kAddFailed{"JsonParser.cpp", "PaserMenuAddItem", 328};
inline constexpr LogPoint kAddResult{"JsonParser.cpp", "PaserMenuAddItem", 334};
inline constexpr LogPoint kAddEmpty{"JsonParser.cpp", "PaserMenuAddItem", 340};
inline constexpr LogPoint kMergeAfter{"JsonParser.cpp", "MergeList", 388};
inline constexpr LogPoint kMergeElement{"JsonParser.cpp", "MergeList", 393};
inline constexpr LogPoint kItemsNull{"JsonParser.cpp", "PaserMenuItems", 404};
inline constexpr LogPoint kItemsFailed{"JsonParser.cpp", "PaserMenuItems", 414};
inline constexpr LogPoint kItemsEntry{"JsonParser.cpp", "PaserMenuItems", 432};

// Fragment writer
inline constexpr LogPoint kSubMenuEmpty{"JsonPacker.cpp", "PrintSubMenuItemInfo", 48};
inline constexpr LogPoint kSubMenuDone{"JsonPacker.cpp", "PrintSubMenuItemInfo", 64};
inline constexpr LogPoint kGroupEmpty{"JsonPacker.cpp", "PrintGroupInfo", 81};
inline constexpr LogPoint kGroupElement{"JsonPacker.cpp", "PrintGroupInfo", 97};
inline constexpr LogPoint kGroupDone{"JsonPacker.cpp", "PrintGroupInfo", 128};

}  // namespace logpoint
