// Constant texts: the component table and the wizard's page titles.
#pragma once

namespace orv {

extern const char* const ComponentNames[6];
extern const char* const ComponentFiles[6];
extern const char* const PageTitles[9];

}  // namespace orv
