// The ranking tests' window fixture, compiled into this program as well.
#include "../ranking/query_window.cpp"
