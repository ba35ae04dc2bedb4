// FrameworkTypes.h: the framework headers whose strings, arrays and maps
// the engine's records and object are made of, in one place.
#pragma once

#include "base/AArray.h"
#include "base/AMap.h"
#include "base/CDWordArray.h"
#include "base/CString.h"
#include "base/CStringArray.h"
#include "base/CWordArray.h"
#include "base/FixedMaps.h"
