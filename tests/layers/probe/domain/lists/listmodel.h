#pragma once

#include "record.h"
