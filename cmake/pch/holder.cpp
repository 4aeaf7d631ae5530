// The one source of a target that only holds a precompiled header set.
