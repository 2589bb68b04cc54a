#include "tests/support/RecordingAppManager.h"

#include "image/ImagePacking.h"

#include <algorithm>

RecordingAppManager::RecordingAppManager() = default;

int RecordingAppManager::Static2Dynamic(cmcEeprom& image, int mode) {
    return ::Static2Dynamic(image, mode);
}

void RecordingAppManager::Record(const std::string& name, int32_t value, int32_t value2,
                                 const std::string& text, const cmcCellCapsule* request) {
    calls.push_back(Call{name, value, value2, text, request});
}

std::vector<std::string> RecordingAppManager::Names() const {
    std::vector<std::string> names;
    for (const Call& c : calls)
        names.push_back(c.name);
    return names;
}

int RecordingAppManager::Count(const std::string& name) const {
    return static_cast<int>(
        std::count_if(calls.begin(), calls.end(), [&](const Call& c) { return c.name == name; }));
}

void RecordingAppManager::EnterMakerMode() {
    Record("EnterMakerMode");
}
void RecordingAppManager::ChangeModel(int32_t modelIndex, bool ask) {
    Record("ChangeModel", modelIndex, ask ? 1 : 0);
}
int RecordingAppManager::CheckImage(const cmcEeprom&, bool strict) {
    Record("CheckImage", strict ? 1 : 0);
    return checkImageAnswer;
}
bool RecordingAppManager::CheckModel(int32_t code1, int32_t code2, int& result) {
    Record("CheckModel", code1, code2);
    if (!checkModelAnswer) result = checkModelResult;
    return checkModelAnswer;
}
RangeList RecordingAppManager::CloneAreas(int32_t areaType) {
    Record("CloneAreas", areaType);
    return cloneAreasAnswer;
}
int RecordingAppManager::ConfirmSave(bool another) {
    Record("ConfirmSave", another ? 1 : 0);
    return confirmSaveAnswer;
}
void RecordingAppManager::EndEdit() {
    Record("EndEdit");
}
void RecordingAppManager::SetModified() {
    Record("SetModified");
    modified = true;
}
bool RecordingAppManager::UpdateModified() {
    Record("UpdateModified");
    return modified;
}
void RecordingAppManager::SetFileName(const std::string& path) {
    Record("SetFileName", 0, 0, path);
    fileName = path;
}
bool RecordingAppManager::IsUntitled() const {
    return fileName.empty();
}
std::string RecordingAppManager::GetFileName() const {
    return fileName.empty() ? untitledName : fileName;
}
void RecordingAppManager::ScheduleWarningCheck() {
    Record("ScheduleWarningCheck");
}
int RecordingAppManager::NewFile() {
    Record("NewFile");
    return commandAnswer;
}
int RecordingAppManager::OpenDialog() {
    Record("OpenDialog");
    return commandAnswer;
}
int RecordingAppManager::OpenFile(const std::string& path) {
    Record("OpenFile", 0, 0, path);
    return commandAnswer;
}
int RecordingAppManager::SaveFile(const std::string& path) {
    Record("SaveFile", 0, 0, path);
    return commandAnswer;
}
int RecordingAppManager::SaveAsDialog() {
    Record("SaveAsDialog");
    return commandAnswer;
}
void RecordingAppManager::Print(int32_t allSheets) {
    Record("Print", allSheets);
}
void RecordingAppManager::CloseSheet() {
    Record("CloseSheet");
}
void RecordingAppManager::CloseSheetCmd() {
    Record("CloseSheetCmd");
}
void RecordingAppManager::OpenSheet(const std::string& definition) {
    Record("OpenSheet", 0, 0, definition);
}
bool RecordingAppManager::IsOpenSheetPrintable() const {
    return sheetPrintable;
}
void RecordingAppManager::ToggleToolBar() {
    Record("ToggleToolBar");
}
void RecordingAppManager::OpenRepeaterSettings(const cmcCellCapsule& request) {
    Record("OpenRepeaterSettings", 0, 0, {}, &request);
}
void RecordingAppManager::CloneRead() {
    Record("CloneRead");
}
void RecordingAppManager::CloneWrite() {
    Record("CloneWrite");
}
void RecordingAppManager::ReadCloneInfo() {
    Record("ReadCloneInfo");
}
void RecordingAppManager::SelectComPort() {
    Record("SelectComPort");
}
int32_t RecordingAppManager::GetCellHelpContext(const cmcCellCapsule& request) {
    Record("GetCellHelpContext", 0, 0, {}, &request);
    return helpContextAnswer;
}

int32_t RecordingAppManager::MainMenuSubItemCount(int32_t commandId) const {
    return commandId == editMenuCommand ? editMenuSubItems : -1;
}
void RecordingAppManager::CloseMainForm() {
    Record("CloseMainForm");
}
