// FrameworkTypes.h: the framework headers whose strings, arrays and maps
// the engine's records and object are made of, in one place.
#pragma once

#include "framework/AArray.h"
#include "framework/AMap.h"
#include "framework/CDWordArray.h"
#include "framework/CString.h"
#include "framework/CStringArray.h"
#include "framework/CWordArray.h"
#include "framework/FixedMaps.h"
