// veltcore/veltcore.h: the whole exported interface of veltcore in one include.
// Hosts may include the family headers one by one instead.
#pragma once

#include <veltcore/core/point.h>
#include <veltcore/core/rounding.h>
#include <veltcore/core/string.h>
#include <veltcore/core/string_loader.h>
#include <veltcore/database/handle.h>
#include <veltcore/database/named_item.h>
#include <veltcore/database/ref_counter.h>
#include <veltcore/geometry/constructions.h>
#include <veltcore/geometry/line.h>
#include <veltcore/geometry/rect.h>
#include <veltcore/view/projector.h>
