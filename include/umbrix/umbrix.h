#pragma once
// The public API of umbrix::core: every header at once.
#include "umbrix/batch.h"
#include "umbrix/engine.h"
#include "umbrix/horizon.h"
#include "umbrix/map.h"
#include "umbrix/obstacle.h"
#include "umbrix/thread_pool.h"
#include "umbrix/types.h"
