// Bookmark recall. A recall chosen on the index page opens the bookmark's
// page and finishes there once the page has loaded; the recall itself is not
// in yet, so a recall waiting for its page does nothing.

#include "player/browser/frmBrowser.h"

namespace orva {

void FrmBrowser::MarcatoriRichiama(std::int16_t& /*Number*/) {}

}  // namespace orva
