#pragma once
#include <string_view>

#include "version.h"

// Who publishes the program and where it lives on the web, as the build set
// them (CMakeLists.txt). An address the build left empty is shown nowhere.
namespace tavi {

inline constexpr std::string_view kPublisher = TAVI_PUBLISHER;
inline constexpr std::string_view kHomeUrl = TAVI_HOME_URL;
inline constexpr std::string_view kSupportMail = TAVI_SUPPORT_MAIL;
inline constexpr std::string_view kUpdateInfoUrl = TAVI_UPDATE_URL;

}  // namespace tavi
