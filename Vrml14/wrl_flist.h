// The faces of one object (or of one batch), in delivery order.
#pragma once
#include "wrl_face.h"
#include "wrl_list.h"

class WrlFaceList : public WrlList<WrlFace> {};
