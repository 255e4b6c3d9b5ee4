#include "turn/recruitment.h"

namespace vezer {

// Recruitment is built with the turn events; until then cities choose nothing, no shortage is
// counted and the levy count stays as the set-up or the save left it.
void ChooseCityRecruitment(Game&, int) {}
void UpdateWeaponShortage(Game&) {}
void CountLevyMen(Game&) {}

} // namespace vezer
