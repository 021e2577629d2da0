// The points of one object (or of one batch), in delivery order.
#pragma once
#include "wrl_list.h"
#include "wrl_point.h"

class WrlPointList : public WrlList<WrlPoint> {};
