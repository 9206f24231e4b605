// Replaced by the resource reader.
