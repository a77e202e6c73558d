#pragma once
#include "font/font.h"
