#include "framework/PropExchange.h"

CPropExchange::~CPropExchange() = default;
