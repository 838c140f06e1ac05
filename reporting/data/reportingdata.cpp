// The reporting document; see reportingdata.h.
