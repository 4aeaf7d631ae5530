// An empty translation unit: the layer check only configures.
int qt_layers_check_unused;
