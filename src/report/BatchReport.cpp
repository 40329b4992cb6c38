int kovPlaceholder();
