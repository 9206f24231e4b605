// Replaced by the pure logic of the layer.
