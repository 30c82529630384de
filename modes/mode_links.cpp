#include "modes/mode_links.h"

#include "platform/time.h"

TModeLinks modeLinks;

namespace modes {

float ProfileNumber(const std::string& key) { return modeLinks.getNumber ? modeLinks.getNumber(key) : 0.0f; }

std::string ProfileString(const std::string& key) {
    return modeLinks.getString ? modeLinks.getString(key) : std::string();
}

void SetProfileNumber(const std::string& key, float value, int saveNow) {
    if (modeLinks.setNumber) modeLinks.setNumber(key, value, saveNow);
}

void SetProfileString(const std::string& key, const std::string& value, int saveNow) {
    if (modeLinks.setString) modeLinks.setString(key, value, saveNow);
}

std::string ProfileName() { return modeLinks.profileName ? modeLinks.profileName() : std::string(); }

void AddHiscore(int score, int typeId, const std::string& helpVar) {
    if (modeLinks.addHiscore) modeLinks.addHiscore(ProfileName(), score, 0, typeId, plat::CurrentDate(), helpVar);
}

}  // namespace modes
