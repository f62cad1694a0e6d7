#include "framework/File.h"

CFile::~CFile() = default;
