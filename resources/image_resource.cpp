#include "resources/image_resource.h"

#include <chrono>
#include <thread>

std::atomic<bool> onLoaderThread{false};
std::atomic<bool> uploadPending{false};
std::atomic<ImageResource*> pendingUpload{nullptr};

void HandOverForUpload(ImageResource* image) {
  pendingUpload.store(image, std::memory_order_relaxed);
  uploadPending.store(true, std::memory_order_release);
  while (uploadPending.load(std::memory_order_acquire)) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
}

void UploadOrHandOver(ImageResource* image) {
  if (onLoaderThread.load(std::memory_order_relaxed)) {
    HandOverForUpload(image);
  } else {
    image->Upload();
  }
}

void ServicePendingUpload() {
  if (!uploadPending.load(std::memory_order_acquire)) return;
  pendingUpload.load(std::memory_order_relaxed)->Upload();
  pendingUpload.store(nullptr, std::memory_order_relaxed);
  uploadPending.store(false, std::memory_order_release);
}
