#pragma once

#include "assets/image.h"

namespace assetgen {

// The tray icon: a blue speech bubble with three dots, on a transparent ground. 16 x 16.
Image drawTrayIcon();

// The company logo shown in the options window: a round badge with a white bar mark on white.
// Square, because the window stretches the picture into a square frame. 73 x 73 (1095 twips).
Image drawCompanyLogo();

}  // namespace assetgen
