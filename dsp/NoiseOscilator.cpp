#include "NoiseOscilator.h"

NoiseOscilator::NoiseOscilator() { channelCount = 2; }
