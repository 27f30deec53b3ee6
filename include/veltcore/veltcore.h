// veltcore/veltcore.h: the whole exported interface of veltcore in one include.
// Hosts may include the family headers one by one instead.
#pragma once

#include <veltcore/core/mylist.h>
#include <veltcore/core/point.h>
#include <veltcore/core/rounding.h>
#include <veltcore/core/string.h>
#include <veltcore/core/string_loader.h>
#include <veltcore/database/block.h>
#include <veltcore/database/block_factory.h>
#include <veltcore/database/block_graph.h>
#include <veltcore/database/block_table.h>
#include <veltcore/database/colors.h>
#include <veltcore/database/data.h>
#include <veltcore/database/data_calls.h>
#include <veltcore/database/handle.h>
#include <veltcore/database/layer.h>
#include <veltcore/database/named_item.h>
#include <veltcore/database/ref_counter.h>
#include <veltcore/database/style.h>
#include <veltcore/database/xref.h>
#include <veltcore/entities/entity.h>
#include <veltcore/entities/entity_factory.h>
#include <veltcore/entities/entity_table.h>
#include <veltcore/entities/insert.h>
#include <veltcore/entities/memento.h>
#include <veltcore/entities/transform_visitors.h>
#include <veltcore/entities/visitor.h>
#include <veltcore/geometry/constructions.h>
#include <veltcore/geometry/font.h>
#include <veltcore/geometry/line.h>
#include <veltcore/geometry/rect.h>
#include <veltcore/geometry/text.h>
#include <veltcore/linetypes/dash.h>
#include <veltcore/linetypes/linetype.h>
#include <veltcore/view/projector.h>
