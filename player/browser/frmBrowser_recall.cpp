// Bookmark recall and the bookmark list's handlers.

#include "player/browser/frmBrowser.h"

namespace orva {

void FrmBrowser::MarcatoriRichiama(std::int16_t& /*Number*/) {}
void FrmBrowser::AddMarcatore(std::string& /*Name*/, std::int16_t& /*Position*/) {}
std::int16_t FrmBrowser::MarcatoreCerca(std::string& /*Name*/, std::string& /*Section*/) { return 0; }
void FrmBrowser::ListMarkers_Click() {}
void FrmBrowser::ListMarkers_DblClick() {}
void FrmBrowser::ListMarkers_KeyDown(std::int16_t /*KeyCode*/, std::int16_t /*Shift*/) {}

}  // namespace orva
